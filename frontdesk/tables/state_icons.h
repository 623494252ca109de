// The six 32 x 32 state pictures of the board, the legend and the work screen, painted once:
// free a cup on its saucer, in use two people, settled two people under a yellow note,
// re-opened two people under an orange plus, booked a clock, disabled a red disc with a white
// cross.
#pragma once

#include <QPixmap>
#include <QString>

namespace sorrel::tables {

inline constexpr int kStateIconSize = 32;

// The picture of a table state; a null pixmap for an empty or unknown state.
QPixmap stateIcon(const QString& state);

} // namespace sorrel::tables
