#include "common/permissions.h"

#include "common/messages.h"

namespace sorrel {

bool levelMayUse(Database& db, const QString& manaCode, const QString& limiCode) {
    const QVariant real =
        db.scalar(QStringLiteral("SELECT limi_real FROM Limitedlist WHERE limi_code = ? AND mana_code = ?"),
                  {limiCode, manaCode});
    return !real.isNull() && real.toLongLong() != 0;
}

QString permissionRefusalMessage(const QString& limiCode) {
    return limiCode + kPermissionRefusalText;
}

bool limite(Database& db, const QString& manaCode, const QString& limiCode) {
    if (levelMayUse(db, manaCode, limiCode)) return true;
    messages::information(permissionRefusalMessage(limiCode));
    return false;
}

} // namespace sorrel
