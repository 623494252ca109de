// The look of the grids: a panel's main grid (striped, its selected row white on slate blue)
// and the small side grids of a master list (selected row white on grey).
#pragma once

class QString;
class QTableView;
class QWidget;

namespace sorrel::ui {

class RecordSetModel;

void styleMainGrid(QTableView* view);
void styleSideGrid(QTableView* view);
// Each column at the width its GridColumn gives (0 leaves it to the view), for a grid over a
// RecordSetModel.
void applyColumnWidths(QTableView* view);
// A main grid named `objectName` over `model`, read-only, its columns at their widths.
QTableView* mainGrid(const QString& objectName, RecordSetModel* model, QWidget* parent);

} // namespace sorrel::ui
