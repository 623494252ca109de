// The six states of a table and what the board offers for each: the items of the state menu
// and what a double-click does.
#pragma once

#include "common/tables/table_states.h"

#include <QList>
#include <QString>

namespace sorrel::tables {


// The position of a state among the six (0 for free … 5 for disabled); -1 for any other code.
int stateIndex(const QString& state);
// The six names as the legend shows them, in state order.
const QStringList& stateNames();

// The items of the state menu, in menu order.
enum class StateAction { Open, Disable, Enable, Book, ReverseSettle };
QString stateActionCaption(StateAction action);
// The items a table in `state` shows; none for a settled table.
QList<StateAction> stateMenu(const QString& state);

// What choosing a table on the board (double-click, "+", "开台") does in `state`.
enum class TableChoice { Register, Continue, ShowSettled, Nothing };
TableChoice choiceFor(const QString& state);

} // namespace sorrel::tables
