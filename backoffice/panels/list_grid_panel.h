// A grid over one maintenance list: shows its rows through the shared table model, keeps its
// selection on the list's current record, and moves the list when the manager picks a row (a
// refused save keeps the selection where it was).
#pragma once

#include "backoffice/lists/maintenance_list.h"
#include "common/ui/record_set_model.h"

#include <QTableView>

namespace sorrel::panels {

class ListGrid : public QTableView {
    Q_OBJECT
  public:
    enum class Role { Main, Side };
    ListGrid(lists::MaintenanceList& list, QList<ui::GridColumn> columns, Role role, QWidget* parent);

    lists::MaintenanceList& list() const { return list_; }
    ui::RecordSetModel* recordModel() const { return model_; }
    // Re-reads what the columns' formats look up (names of codes).
    void redraw();

  private:
    void followList(int row);
    void picked(const QModelIndex& index);

    lists::MaintenanceList& list_;
    ui::RecordSetModel* model_;
    bool following_ = false;
};

} // namespace sorrel::panels
