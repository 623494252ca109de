#include "common/db/code_names.h"

#include "common/db/database.h"
#include "common/db/recordset.h"

namespace sorrel {

QHash<QString, QString> namesByCode(Database& db, const QString& sql) {
    const RecordSet rs = db.query(sql);
    QHash<QString, QString> byCode;
    for (int i = 0; i < rs.rowCount(); ++i)
        byCode.insert(rs.value(i, 0).toString(), rs.value(i, 1).toString());
    return byCode;
}

} // namespace sorrel
