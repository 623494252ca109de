// Reading a whole table page by page, in the order its rows are stored: every row exactly once,
// whatever keys the table has, without holding a long history in memory at once.
#pragma once

#include "common/db/database.h"

#include <functional>

namespace sorrel {

// Hands `visit` each page in turn: column 0 is where the row is stored, then `columns` in order.
void forEachPage(Database& db, const QString& table, const QStringList& columns,
                 const std::function<void(const RecordSet& page)>& visit);

} // namespace sorrel
