#include "backoffice/data/system_log_query.h"

#include "common/db/errors.h"
#include "common/db_datetime.h"

namespace sorrel::data {

QList<LogEntry> loadSystemLog(Database& db, const QDate& from, const QDate& to) {
    if (from > to) throw StepRefused(kLogDatesReversedMessage);
    // Up to the first moment of the day after: a time with a fraction of a second at the end of
    // the last day is still in.
    const RecordSet rs = db.query(
        QStringLiteral("SELECT log_oper_name, log_time, log_oper FROM systemlog "
                       "WHERE log_time >= ? AND log_time < ? ORDER BY log_time DESC"),
        {toDbDateTime(QDateTime(from, QTime(0, 0))), toDbDateTime(QDateTime(to.addDays(1), QTime(0, 0)))});
    QList<LogEntry> entries;
    entries.reserve(rs.rowCount());
    for (int i = 0; i < rs.rowCount(); ++i)
        entries.append(
            {rs.text(i, "log_oper_name"), fromDbDateTime(rs.value(i, "log_time")), rs.text(i, "log_oper")});
    return entries;
}

} // namespace sorrel::data
