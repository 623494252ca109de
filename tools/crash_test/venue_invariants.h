// What a venue's database must hold after any interruption, whatever step was under way: every
// table agreeing with its guest record, every bill settled, ordered, cleared or reversed
// completely or not at all, the bill counter ahead of every bill, the money of each bill adding up
// to its lines and payments, and stock and balances where their opening values and the stored
// movements put them.
#pragma once

#include "common/db/database.h"

#include <QHash>
#include <QList>
#include <QString>

namespace sorrel::crash {

// The values the movements start from, read once when the venue is made: each member card's
// balance and money spent, each credit guest's debt, each item's stock.
struct VenueOpening {
    QHash<QString, double> memberBalance;
    QHash<QString, double> memberUsed;
    QHash<QString, double> creditOwed;
    QHash<QString, double> stock;
};
VenueOpening readOpening(Database& db);

// One rule the database breaks, and where.
struct BrokenInvariant {
    QString rule;
    QString detail;
};

namespace Rule {
inline const QString kOpens = QStringLiteral("the database opens and reads back whole");
inline const QString kTableState = QStringLiteral("every table agrees with its current guest record");
inline const QString kSettled = QStringLiteral("no bill is half settled");
inline const QString kOrder = QStringLiteral("no order is half committed");
inline const QString kHistory = QStringLiteral("history copies and deletions are whole");
inline const QString kCounter = QStringLiteral("the bill counter is above every bill number");
inline const QString kMoney = QStringLiteral("a bill's money adds up to its lines and payments");
inline const QString kBalances = QStringLiteral("balances are their opening plus their movements");
} // namespace Rule

// Reads the venue and answers every rule it breaks; nothing is written.
QList<BrokenInvariant> checkVenue(Database& db, const VenueOpening& opening);

// Opens `target` (a file, or a server connection file) as the programs would, checks that every
// page and row reads back, then checks the venue; a database that does not open breaks kOpens.
QList<BrokenInvariant> checkVenueAt(const QString& target, const VenueOpening& opening);

} // namespace sorrel::crash
