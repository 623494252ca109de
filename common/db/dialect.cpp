#include "common/db/dialect.h"

namespace sorrel::dialect {

QString timeOfDay(Engine engine, const QString& expr) {
    if (engine == Engine::Embedded)
        return QStringLiteral("time(%1)").arg(expr);
    return QStringLiteral("to_char(%1, 'HH24:MI:SS')").arg(expr);
}

QString truncToInteger(Engine engine, const QString& expr) {
    if (engine == Engine::Embedded)
        return QStringLiteral("CAST((%1) AS INTEGER)").arg(expr);
    return QStringLiteral("CAST(trunc(%1) AS INTEGER)").arg(expr);
}

} // namespace sorrel::dialect
