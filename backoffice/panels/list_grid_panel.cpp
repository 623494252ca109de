#include "backoffice/panels/list_grid_panel.h"

#include "common/ui/grid_style.h"
#include "common/ui/guard.h"

#include <QHeaderView>

namespace sorrel::panels {

ListGrid::ListGrid(lists::MaintenanceList& list, QList<ui::GridColumn> columns, Role role, QWidget* parent)
    : QTableView(parent), list_(list) {
    model_ = new ui::RecordSetModel(list.rows(), columns, this);
    setModel(model_);
    if (role == Role::Main)
        ui::styleMainGrid(this);
    else
        ui::styleSideGrid(this);
    ui::applyColumnWidths(this);
    ui::connectGuarded(&list, &lists::MaintenanceList::rowsReset, this, [this] {
        model_->refresh();
        followList(list_.current());
    });
    ui::connectGuarded(&list, &lists::MaintenanceList::currentChanged, this, &ListGrid::followList);
    ui::connectGuarded(&list, &lists::MaintenanceList::recordChanged, model_,
                       &ui::RecordSetModel::rowChanged);
    ui::connectGuarded(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                       [this](const QModelIndex& index) { picked(index); });
    followList(list.current());
}

void ListGrid::redraw() {
    model_->refresh();
    followList(list_.current());
}

void ListGrid::followList(int row) {
    following_ = true;
    if (row < 0) {
        selectionModel()->clearSelection();
    } else {
        const QModelIndex index = model_->index(row, 0);
        selectionModel()->setCurrentIndex(index,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    following_ = false;
}

void ListGrid::picked(const QModelIndex& index) {
    if (following_ || !index.isValid() || index.row() == list_.current()) return;
    // A refused save (its message shown) keeps the record being edited selected.
    if (!list_.moveTo(index.row())) followList(list_.current());
}

} // namespace sorrel::panels
