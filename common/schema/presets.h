// The rows a new database starts with: the fixed name tables, the permission catalogue, the
// payment types, one settings row, one bill layout, and an administrator who can log in.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"

#include <QList>
#include <QStringList>

namespace sorrel::presets {

// Fixed values other parts of the system and the README rely on.
inline constexpr const char* kAdminLevel = "01";
inline constexpr const char* kAdminOperator = "01";
inline constexpr const char* kAdminPassword = "1234";
inline constexpr const char* kSystemPassword = "8888";

// A header cell of the bill: its caption and the guest-record column printed under it.
struct BillHeaderCell {
    QString caption;
    QString column;
};
// The 14 captions a header cell can carry, each with its column, in the order of the default
// layout: cells 11, 12, 21, 22, … 72.
const QList<BillHeaderCell>& defaultBillHeader();

// One permission row of `level` for every function of the catalogue: allowed, except the
// functions in `denied`.
void writeLevelPermissions(Database& db, const QString& level, const QStringList& denied);

// Writes the presets; runs inside the caller's transaction.
void write(Database& db, const Clock& clock);

} // namespace sorrel::presets
