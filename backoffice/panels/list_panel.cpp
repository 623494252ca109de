#include "backoffice/panels/list_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace sorrel::panels {

QLabel* fieldCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QString maskedPassword(const QVariant& value) {
    return value.toString().isEmpty() ? QString() : QStringLiteral("******");
}

ListPanel::ListPanel(const QString& objectName, lists::MaintenanceList& list, QList<ui::GridColumn> columns,
                     QWidget* parent)
    : QWidget(parent), list_(list) {
    setObjectName(objectName);
    fields_ = new RecordFields(list, this);
    grid_ = new ListGrid(list, std::move(columns), ListGrid::Role::Main, this);
    grid_->setObjectName(objectName + QStringLiteral("_grid"));

    auto* formBox = new QFrame(this);
    formBox->setFrameShape(QFrame::StyledPanel);
    form_ = new QGridLayout(formBox);
    form_->setContentsMargins(8, 6, 8, 6);
    form_->setHorizontalSpacing(6);
    form_->setVerticalSpacing(4);

    side_ = new QVBoxLayout;
    side_->setSpacing(4);
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(formBox);
    right->addWidget(grid_, 1);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);
    row->addLayout(side_);
    row->addLayout(right, 1);
}

QLineEdit* ListPanel::addEdit(const QString& caption, const QString& column, int row, int col, FieldKind kind,
                              int extraCells) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("dbe_") + column);
    form_->addWidget(fieldCaption(caption, this), row, col * 2);
    form_->addWidget(edit, row, col * 2 + 1, 1, 1 + 2 * extraCells);
    fields_->bindEdit(edit, column, kind);
    return edit;
}

QCheckBox* ListPanel::addCheck(const QString& caption, const QString& column, int row, int col) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QStringLiteral("chk_") + column);
    form_->addWidget(box, row, col * 2 + 1);
    fields_->bindCheck(box, column);
    return box;
}

QComboBox* ListPanel::addChoice(const QString& caption, const QString& column,
                                std::function<lists::Choices()> choices, int row, int col,
                                std::function<void(const QString&)> chosen) {
    auto* box = new QComboBox(this);
    box->setObjectName(QStringLiteral("dbl_") + column);
    form_->addWidget(fieldCaption(caption, this), row, col * 2);
    form_->addWidget(box, row, col * 2 + 1);
    fields_->bindChoice(box, column, std::move(choices), std::move(chosen));
    return box;
}

QLabel* ListPanel::addHeading(const QString& objectName) {
    auto* heading = new QLabel(this);
    heading->setObjectName(objectName);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    addToForm(heading, 0, 0, 2);
    return heading;
}

void ListPanel::addToForm(QWidget* widget, int row, int col, int columnSpan) {
    form_->addWidget(widget, row, col * 2, 1, columnSpan * 2);
}

ListGrid* ListPanel::addSideGrid(lists::MaintenanceList& list, QList<ui::GridColumn> columns, int height) {
    auto* grid = new ListGrid(list, std::move(columns), ListGrid::Role::Side, this);
    grid->setFixedWidth(150);
    if (height > 0) grid->setFixedHeight(height);
    side_->addWidget(grid, height > 0 ? 0 : 1);
    grids_.append(grid);
    return grid;
}

void ListPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    for (const auto& refresh : onShow_)
        refresh();
    for (ListGrid* grid : grids_)
        grid->redraw();
    grid_->redraw();
    fields_->refresh();
}

} // namespace sorrel::panels
