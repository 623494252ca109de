// The permission check every guarded function asks first: may the staff level now logged in
// use the function with this two-letter code?
#pragma once

#include "common/db/database.h"

namespace sorrel {

// True only when the level has a row for the code and that row says yes.
bool levelMayUse(Database& db, const QString& manaCode, const QString& limiCode);

// The check as the screens ask it: on a refusal shows the code followed by the refusal message
// and answers false; the caller then does not start the function.
bool limite(Database& db, const QString& manaCode, const QString& limiCode);

QString permissionRefusalMessage(const QString& limiCode);
// The refusal; the front desk puts the code in front of it, the back office does not.
inline const QString kPermissionRefusalText =
    QStringLiteral("你没有操作此项功能的权限，请与系统管理员联系！");

} // namespace sorrel
