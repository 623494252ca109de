#include "common/system_password.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"

namespace sorrel {

bool systemPasswordMatches(Database& db, const QString& typed) {
    const RecordSet rs = db.query(QStringLiteral("SELECT set_prn_92_fiel FROM setupprint"));
    return rs.rowCount() == 1 && rs.text(0, "set_prn_92_fiel").trimmed() == typed.trimmed();
}

void setSystemPassword(Database& db, const QString& typed, const QString& confirmation) {
    const QString password = typed.trimmed();
    if (password != confirmation.trimmed()) throw StepRefused(kSystemPasswordsDifferMessage);
    Transaction tx(db);
    const int rows = db.scalar(QStringLiteral("SELECT count(*) FROM setupprint")).toInt();
    if (rows != 1)
        throw DbError(QStringLiteral("帐单格式记录 setupprint 应有且只有一行，现有 %1 行").arg(rows));
    db.exec(QStringLiteral("UPDATE setupprint SET set_prn_92_fiel = ?"), {password});
    tx.commit();
}

bool managementPasswordMatches(const QString& typed, ManagementPassword which) {
    return typed.trimmed() ==
           (which == ManagementPassword::Data ? QStringLiteral("470362") : QStringLiteral("583016610385"));
}

QString managementPasswordRefusal(const QString& typed, ManagementPassword which) {
    if (typed.trimmed().isEmpty()) return kNoManagementPasswordMessage;
    return managementPasswordMatches(typed, which) ? QString() : kWrongManagementPasswordMessage;
}

} // namespace sorrel
