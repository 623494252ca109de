#include "common/bill_number.h"

#include "common/db/errors.h"
#include "common/settings_row.h"

#include <limits>

namespace sorrel {

int drawBillNumber(Database& db) {
    if (!db.inTransaction()) throw DbError(QStringLiteral("帐单编号只能在开台的事务中取得"));
    const RecordSet counter = readSettingsRow(db, QStringLiteral("auto_recn"), SettingsLock::ForUpdate);
    const QVariant value = counter.value(0, QStringLiteral("auto_recn"));
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (value.isNull() || !ok || number < 1 || number >= std::numeric_limits<int>::max())
        throw DbError(QStringLiteral("帐单编号计数器无效：%1").arg(value.toString()));
    // Guarded by the value read: if anything changed it meanwhile, nothing is raised and the
    // opening fails rather than hand out a number twice.
    const int changed = db.exec(QStringLiteral("UPDATE SetupPay SET auto_recn = ? WHERE auto_recn = ?"),
                                {number + 1, number});
    if (changed != 1) throw DbError(QStringLiteral("帐单编号计数器在取号时被改动"));
    return int(number);
}

} // namespace sorrel
