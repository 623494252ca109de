// "当前营业统计": per department, the guest records of the current business day that are
// cleared, settled and still pending, with their amounts, and the total row.
#pragma once

#include "common/db/database.h"
#include "common/db/recordset.h"

#include <QStringList>

namespace sorrel::day {

// The columns of the statistics, in the order the grid shows them.
const QStringList& statisticsColumns();

// The rows of ViewTotalDeptEnd: one per department, then the total row.
RecordSet loadCurrentStatistics(Database& db);

// The total row: its department name, trimmed, is "总计".
bool isTotalRow(const RecordSet& statistics, int row);

} // namespace sorrel::day
