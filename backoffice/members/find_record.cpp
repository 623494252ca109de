#include "backoffice/members/find_record.h"

#include "common/db/errors.h"

namespace sorrel::members {

int findByNumberOrName(const RecordSet& rows, const QString& numberColumn, const QString& nameColumn,
                       const QString& typed) {
    const QString wanted = typed.trimmed();
    if (wanted.isEmpty()) return -1;
    for (int i = 0; i < rows.rowCount(); ++i)
        if (rows.text(i, numberColumn).trimmed() == wanted) return i;
    for (int i = 0; i < rows.rowCount(); ++i)
        if (rows.text(i, nameColumn).contains(wanted, Qt::CaseInsensitive)) return i;
    return -1;
}

bool findInList(lists::MaintenanceList& list, const QString& numberColumn, const QString& nameColumn,
                const QString& typed) {
    // Looked for among the records as they are now, after what is pending was saved.
    if (!list.saveIfPending()) return false;
    list.reload();
    const int row = findByNumberOrName(list.rows(), numberColumn, nameColumn, typed);
    if (row < 0) throw StepRefused(kNothingFound);
    return list.moveTo(row);
}

} // namespace sorrel::members
