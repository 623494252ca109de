// The look of the grids: a panel's main grid (striped, its selected row white on slate blue)
// and the small side grids of a master list (selected row white on grey).
#pragma once

class QTableView;

namespace sorrel::ui {

void styleMainGrid(QTableView* view);
void styleSideGrid(QTableView* view);

} // namespace sorrel::ui
