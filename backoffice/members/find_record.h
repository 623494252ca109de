// "查询" on a list of guests: the record whose number is what the manager typed, else the first
// whose name holds it.
#pragma once

#include "backoffice/lists/maintenance_list.h"
#include "common/db/errors.h"

namespace sorrel::members {

inline const QString kNothingFound = QStringLiteral("没有找到符合条件的记录！");

// The row, or -1 when none matches (a blank text matches nothing).
int findByNumberOrName(const RecordSet& rows, const QString& numberColumn, const QString& nameColumn,
                       const QString& typed);
// Moves the list to the record found; refuses with kNothingFound (StepRefused) when there is
// none. False when it did not move.
bool findInList(lists::MaintenanceList& list, const QString& numberColumn, const QString& nameColumn,
                const QString& typed);

} // namespace sorrel::members
