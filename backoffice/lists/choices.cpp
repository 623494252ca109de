#include "backoffice/lists/choices.h"

namespace sorrel::lists {

Choices readChoices(Database& db, const QString& sql, const QVariantList& params) {
    const RecordSet rs = db.query(sql, params);
    Choices choices;
    for (int i = 0; i < rs.rowCount(); ++i)
        choices.append(
            {rs.value(i, 0).toString(), rs.columnCount() > 1 ? rs.value(i, 1).toString() : QString()});
    return choices;
}

QString nameOf(const Choices& choices, const QString& code) {
    for (const Choice& c : choices)
        if (c.code == code) return c.name;
    return code;
}

} // namespace sorrel::lists
