// A balance of one guest's row — a card's remaining money, a credit guest's debt — as the
// database holds it under the running transaction: read, and moved by an amount relative to it,
// kept to the cent so that a balance paid off is exactly 0.
#pragma once

#include "common/db/database.h"

#include <optional>

namespace sorrel::members {

struct BalanceColumn {
    QString table;
    QString keyColumn;
    QString column;
};

inline const BalanceColumn kCardBalance{QStringLiteral("MemberList"), QStringLiteral("memb_card_code"),
                                        QStringLiteral("memb_surp")};
inline const BalanceColumn kCreditDebt{QStringLiteral("HangGues"), QStringLiteral("hang_gues_code"),
                                       QStringLiteral("hang_gues_use")};

// The balance now; nothing when the row is gone. Inside a transaction the row stays locked.
std::optional<double> currentBalance(Database& db, const BalanceColumn& balance, const QVariant& key);
// balance = balance + delta, then rounded to the cent where the sum left a fraction of one.
void moveBalance(Database& db, const BalanceColumn& balance, const QVariant& key, double delta);

} // namespace sorrel::members
