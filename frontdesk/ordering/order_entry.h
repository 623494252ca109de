// Whether ordering may start on a table: the permission it needs and the table's state as the
// database holds it now. The front desk's ordering screen and the waiters' phone page ask the same.
#pragma once

#include "common/db/database.h"

#include <QString>

namespace sorrel::ordering {

inline const QString kOrderingPermission = QStringLiteral("DB");
inline const QString kSettledTableMessage = QStringLiteral("现在台桌不在[使用]状态，所以不能进行[点菜]！");

// Empty when table `tableCode` is in use or re-opened now; otherwise why no order can be taken.
QString orderingRefusal(Database& db, const QString& tableCode);

} // namespace sorrel::ordering
