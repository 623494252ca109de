#include "common/ui/grid_style.h"

#include "common/ui/record_set_model.h"

#include <QHeaderView>
#include <QTableView>

namespace sorrel::ui {

namespace {

void styleGrid(QTableView* view, const QColor& selected) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(20);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    QPalette palette = view->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, selected);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    view->setPalette(palette);
}

} // namespace

void styleMainGrid(QTableView* view) {
    styleGrid(view, QColor(128, 128, 192));
    if (auto* model = qobject_cast<RecordSetModel*>(view->model())) model->setStriped(true);
}

void styleSideGrid(QTableView* view) {
    styleGrid(view, QColor(128, 128, 128));
}

void applyColumnWidths(QTableView* view) {
    const auto* model = qobject_cast<const RecordSetModel*>(view->model());
    if (!model) return;
    const QList<GridColumn>& columns = model->gridColumns();
    for (int c = 0; c < columns.size(); ++c)
        if (columns[c].width > 0) view->setColumnWidth(c, columns[c].width);
}

QTableView* mainGrid(const QString& objectName, RecordSetModel* model, QWidget* parent) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(objectName);
    grid->setModel(model);
    styleMainGrid(grid);
    applyColumnWidths(grid);
    return grid;
}

} // namespace sorrel::ui
