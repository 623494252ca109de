#include "common/operators.h"

namespace sorrel {

std::optional<OperatorEntry> findOperator(Database& db, const QString& operatorCode,
                                          const QString& password) {
    const RecordSet found = db.query(
        QStringLiteral(
            "SELECT oper_code, oper_name, oper_pass, mana_code FROM operatorlist WHERE oper_code = ? AND "
            "oper_pass = ?"),
        {operatorCode.trimmed(), password.trimmed()});
    if (found.isEmpty() || found.text(0, "oper_code").trimmed().isEmpty()) return std::nullopt;
    return OperatorEntry{found.text(0, "oper_code"), found.text(0, "oper_name"), found.text(0, "oper_pass"),
                         found.text(0, "mana_code")};
}

QString operatorLevel(Database& db, const QString& operatorCode) {
    return db.scalar(QStringLiteral("SELECT mana_code FROM operatorlist WHERE oper_code = ?"), {operatorCode})
        .toString();
}

} // namespace sorrel
