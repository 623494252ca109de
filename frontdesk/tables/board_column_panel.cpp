#include "frontdesk/tables/board_column_panel.h"

#include "common/ui/guard.h"
#include "common/ui/text_grid.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace sorrel::tables {

namespace {

// Table codes as they are typed: digits and letters only, letters as capitals.
class TableCodeValidator : public QRegularExpressionValidator {
  public:
    explicit TableCodeValidator(QObject* parent)
        : QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Z]*")), parent) {}
    State validate(QString& input, int& pos) const override {
        input = input.toUpper();
        return QRegularExpressionValidator::validate(input, pos);
    }
};

// The search box: white, without a border, at most 8 characters.
QLineEdit* tableCodeBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("edt_TableSearch"));
    box->setMaxLength(8);
    box->setFrame(false);
    box->setValidator(new TableCodeValidator(box));
    QPalette white = box->palette();
    white.setColor(QPalette::Base, Qt::white);
    box->setPalette(white);
    return box;
}

ui::TextGrid* sideList(const QString& name, const QStringList& captions, int height, QWidget* parent) {
    auto* grid = new ui::TextGrid(name, captions, parent);
    grid->setFixedHeight(height);
    grid->horizontalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setSelectionColours(QColor(128, 128, 128), Qt::white);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

} // namespace

BoardColumn::BoardColumn(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Panel3"));
    setFixedWidth(kWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(3, 3, 3, 3);
    column->setSpacing(3);
    typeNote_ = new QLabel(this);
    typeNote_->setObjectName(QStringLiteral("lbl_TypeNarr"));
    typeNote_->setWordWrap(true);
    shift_ = new QLabel(this);
    shift_->setObjectName(QStringLiteral("lbl_Shift"));
    workDate_ = new QLabel(this);
    workDate_->setObjectName(QStringLiteral("lbl_WorkDate"));
    for (QLabel* label : {typeNote_, shift_, workDate_})
        label->setAlignment(Qt::AlignCenter);
    departments_ = sideList(QStringLiteral("dbg_Dept"), {QStringLiteral("部门")}, 50, this);
    types_ = sideList(QStringLiteral("dbg_TypeCount"), {QStringLiteral("类型"), QStringLiteral("数量")}, 101,
                      this);
    types_->setColumnWidth(0, 130);

    auto* infoBox = new QGroupBox(this);
    infoBox->setObjectName(QStringLiteral("gb_TableInfo"));
    auto* form = new QFormLayout(infoBox);
    form->setContentsMargins(4, 2, 4, 2);
    form->setVerticalSpacing(1);
    for (const char* caption : {"名称", "状态", "说明", "客人", "开台", "人数"}) {
        auto* value = new QLabel(infoBox);
        value->setObjectName(QStringLiteral("lbl_Info") + QString::number(info_.size()));
        form->addRow(QString::fromUtf8(caption), value);
        info_.append(value);
    }
    search_ = tableCodeBox(this);

    column->addWidget(typeNote_);
    column->addWidget(shift_);
    column->addWidget(workDate_);
    column->addWidget(departments_);
    column->addWidget(types_);
    column->addWidget(infoBox);
    column->addStretch(1);
    column->addWidget(search_);

    ui::connectGuarded(departments_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row < departmentCodes_.size()) emit departmentChosen(departmentCodes_[row]);
    });
    ui::connectGuarded(types_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row < typeCodes_.size()) emit typeChosen(typeCodes_[row]);
    });
}

void BoardColumn::setShift(const QString& shiftName, const QDate& businessDate) {
    shift_->setText(shiftName);
    workDate_->setText(businessDate.toString(QStringLiteral("yyyy-MM-dd")));
}

void BoardColumn::setBusinessDate(const QString& caption) {
    workDate_->setText(caption);
}

void BoardColumn::showBoard(const tables::TableBoard& board) {
    QList<QStringList> rows;
    departmentCodes_.clear();
    for (const tables::Department& d : board.departments()) {
        departmentCodes_ << d.code;
        rows << QStringList{d.name};
    }
    departments_->setRows(rows, int(departmentCodes_.indexOf(board.department())));

    rows.clear();
    typeCodes_.clear();
    for (const tables::TypeCount& t : board.typeSummary()) {
        typeCodes_ << t.type.code;
        rows << QStringList{t.type.name, QString::number(t.count)};
    }
    types_->setRows(rows, int(typeCodes_.indexOf(board.type())));

    const std::optional<tables::BoardTable> table = board.selected();
    QString note;
    for (const tables::TableType& t : board.types())
        if (table && t.code == table->typeCode) note = t.narr;
    typeNote_->setText(note);
    const QStringList values =
        table ? QStringList{table->name,
                            table->stateName,
                            table->narr,
                            table->guestName,
                            tables::boardTime(table->guestTime),
                            table->guestNumber ? QString::number(table->guestCount) : QString()}
              : QStringList{};
    for (int i = 0; i < info_.size(); ++i)
        info_[i]->setText(values.value(i));
}

} // namespace sorrel::tables
