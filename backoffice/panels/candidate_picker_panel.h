// The search box and grid of what a sub-panel may add (items for a set meal, classes for a
// discount scheme): typing narrows the grid, Enter in the box or a double-click picks the row.
#pragma once

#include "common/db/recordset.h"
#include "common/ui/record_set_model.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QTableView;

namespace sorrel::panels {

class CandidatePicker : public QWidget {
    Q_OBJECT
  public:
    using Match = std::function<RecordSet(const RecordSet& all, const QString& typed)>;
    CandidatePicker(QList<ui::GridColumn> columns, const QString& placeholder, Match match, QWidget* parent);

    QLineEdit* searchBox() const { return search_; }
    QTableView* grid() const { return grid_; }
    ui::RecordSetModel* model() const { return model_; }
    // Everything that may be picked; the box is emptied.
    void setCandidates(RecordSet all);
    // Empties the box and puts the cursor there.
    void restart();

  signals:
    // A candidate was chosen: its row in `shown`.
    void picked(const RecordSet& shown, int row);

  private:
    void narrow();
    void pick(const QModelIndex& index);

    Match match_;
    RecordSet all_;
    RecordSet shown_;
    ui::RecordSetModel* model_;
    QLineEdit* search_;
    QTableView* grid_;
};

} // namespace sorrel::panels
