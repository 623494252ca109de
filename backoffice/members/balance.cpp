#include "backoffice/members/balance.h"

#include "common/money.h"

namespace sorrel::members {

std::optional<double> currentBalance(Database& db, const BalanceColumn& balance, const QVariant& key) {
    const RecordSet rs = db.query(QStringLiteral("SELECT COALESCE(%1, 0) FROM %2 WHERE %3 = ?")
                                          .arg(balance.column, balance.table, balance.keyColumn) +
                                      db.lockRowsClause(),
                                  {key});
    if (rs.isEmpty()) return std::nullopt;
    return rs.value(0, 0).toDouble();
}

void moveBalance(Database& db, const BalanceColumn& balance, const QVariant& key, double delta) {
    db.exec(QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + ? WHERE %3 = ?")
                .arg(balance.table, balance.column, balance.keyColumn),
            {delta, key});
    const std::optional<double> now = currentBalance(db, balance, key);
    if (!now) return;
    const double cents = IntWay(*now, kKeepCents);
    if (cents != *now)
        db.exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?")
                    .arg(balance.table, balance.column, balance.keyColumn),
                {cents, key});
}

} // namespace sorrel::members
