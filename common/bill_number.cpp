#include "common/bill_number.h"

#include "common/db/errors.h"
#include "common/settings_row.h"

#include <limits>

namespace sorrel {

int drawBillNumber(Database& db) {
    if (!db.inTransaction()) throw DbError(QStringLiteral("帐单编号只能在开台的事务中取得"));
    // Raised first and read back, in one trip to a server: the transaction holds the writing
    // lock, so no other workstation moves the counter in between, and a refused counter below
    // rolls the raise back with the opening.
    db.execLater(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn + 1"));
    const RecordSet counter = readSettingsRow(db, QStringLiteral("auto_recn"), SettingsLock::ForUpdate);
    const QVariant value = counter.value(0, QStringLiteral("auto_recn"));
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok) - 1;
    if (value.isNull() || !ok || number < 1 || number >= std::numeric_limits<int>::max())
        throw DbError(QStringLiteral("帐单编号计数器无效：%1").arg(ok ? QString::number(number) : value.toString()));
    return int(number);
}

} // namespace sorrel
