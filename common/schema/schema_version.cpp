#include "common/schema/schema_version.h"

namespace sorrel::schema {

int storedSchemaVersion(Database& db) {
    if (db.columnsOf(QStringLiteral("schemaversion")).isEmpty()) return 1;
    const QVariant v = db.scalar(QStringLiteral("SELECT max(schema_version) FROM schemaversion"));
    return v.isNull() ? 1 : v.toInt();
}

void writeSchemaVersion(Database& db) {
    db.exec(QStringLiteral("DELETE FROM schemaversion"));
    db.exec(QStringLiteral("INSERT INTO schemaversion (schema_version) VALUES (?)"), {kSchemaVersion});
}

} // namespace sorrel::schema
