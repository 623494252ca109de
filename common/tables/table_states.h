// The six states a table of the venue can be in, as TableList.tabl_stat_code holds them.
#pragma once

#include <QString>

namespace sorrel::tables::TableState {
inline const QString kFree = QStringLiteral("1");
inline const QString kInUse = QStringLiteral("2");
inline const QString kSettled = QStringLiteral("3");
inline const QString kReopened = QStringLiteral("4");
inline const QString kBooked = QStringLiteral("5");
inline const QString kDisabled = QStringLiteral("6");
} // namespace sorrel::tables::TableState
