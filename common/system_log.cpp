#include "common/system_log.h"

#include "common/db_datetime.h"

namespace sorrel {

void logSet(Database& db, const Clock& clock, const QString& operatorCode, const QString& text) {
    db.exec(QStringLiteral("INSERT INTO systemlog (log_oper_name, log_time, log_oper) VALUES ("
                           "COALESCE((SELECT oper_name FROM operatorlist WHERE oper_code = ?), ''), ?, ?)"),
            {operatorCode, toDbDateTime(clock.now()), text});
}

} // namespace sorrel
