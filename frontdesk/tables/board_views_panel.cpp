#include "frontdesk/tables/board_views_panel.h"

#include "common/ui/guard.h"
#include "common/ui/text_grid.h"
#include "frontdesk/tables/state_icons.h"
#include "frontdesk/tables/table_state.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace sorrel::tables {

namespace {

QLabel* title(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QStringList listRow(const tables::BoardTable& t) {
    return {t.code,
            t.name,
            t.stateName,
            t.guestName,
            t.guestNumber ? QString::number(t.guestCount) : QString(),
            tables::boardTime(t.guestTime),
            t.guestNumber ? QString::number(t.guestAmount, 'f', 2) : QString(),
            t.narr};
}

} // namespace

ListBoard::ListBoard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnl_TableStateL"));
    grid_ = new ui::TextGrid(QStringLiteral("dbg_TableList"),
                             {QStringLiteral("编码"), QStringLiteral("台桌名称"), QStringLiteral("状态"),
                              QStringLiteral("客人姓名"), QStringLiteral("人数"), QStringLiteral("开台时间"),
                              QStringLiteral("消费金额"), QStringLiteral("台桌说明")},
                             this);
    grid_->setSelectionColours(QColor(128, 128, 192), Qt::white);
    const int widths[] = {44, 96, 44, 90, 40, 84, 72, 110};
    for (int c = 0; c < 8; ++c)
        grid_->setColumnWidth(c, widths[c]);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(title(QStringLiteral("房台列表"), this));
    column->addWidget(grid_, 1);

    ui::connectGuarded(grid_, &QTableWidget::cellPressed, this, [this](int row, int) {
        if (QApplication::mouseButtons() & Qt::LeftButton) emit pressed(codeOfRow(row));
    });
    ui::connectGuarded(grid_, &QTableWidget::cellDoubleClicked, this,
                       [this](int row, int) { emit activated(codeOfRow(row)); });
    ui::connectGuarded(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = grid_->rowAt(at.y());
        if (row >= 0) emit menuRequested(codeOfRow(row), grid_->viewport()->mapToGlobal(at));
    });
}

QString ListBoard::codeOfRow(int row) const {
    return row >= 0 && row < tables_.size() ? tables_[row].code : QString();
}

void ListBoard::setTables(const QList<tables::BoardTable>& shown, const QString& selected, bool reveal) {
    tables_ = shown;
    QList<QStringList> rows;
    int selectedRow = -1;
    for (const tables::BoardTable& t : shown) {
        if (t.code == selected) selectedRow = int(rows.size());
        rows << listRow(t);
    }
    grid_->setRows(rows, selectedRow);
    if (reveal && selectedRow >= 0) grid_->scrollToItem(grid_->item(selectedRow, 0));
}

LegendBoard::LegendBoard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnl_StateCut"));
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(40, 16, 40, 16);
    column->setSpacing(8);
    column->addWidget(title(QStringLiteral("房台图例状态"), this));
    department_ = new QLabel(this);
    department_->setObjectName(QStringLiteral("lbl_StateDept"));
    type_ = new QLabel(this);
    type_->setObjectName(QStringLiteral("lbl_StateType"));
    column->addWidget(department_);
    column->addWidget(type_);
    auto* states = new QGridLayout;
    states->setHorizontalSpacing(16);
    states->setVerticalSpacing(10);
    for (int i = 0; i < 6; ++i) {
        auto* icon = new QLabel(this);
        icon->setPixmap(stateIcon(QString::number(i + 1)));
        auto* name = new QLabel(tables::stateNames()[i], this);
        counts_[i] = new QLabel(this);
        counts_[i]->setObjectName(QStringLiteral("lbl_StateCount%1").arg(i + 1));
        states->addWidget(icon, i, 0);
        states->addWidget(name, i, 1);
        states->addWidget(counts_[i], i, 2);
    }
    states->setColumnStretch(3, 1);
    column->addLayout(states);
    column->addStretch(1);
}

void LegendBoard::setCounts(const QString& departmentName, const QString& typeName,
                            const std::array<int, 6>& counts) {
    department_->setText(QStringLiteral("部门：") + departmentName);
    type_->setText(QStringLiteral("台桌类型：") + typeName);
    for (int i = 0; i < 6; ++i)
        counts_[i]->setText(QString::number(counts[i]));
}

} // namespace sorrel::tables
