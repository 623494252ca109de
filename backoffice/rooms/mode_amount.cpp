#include "backoffice/rooms/mode_amount.h"

#include <QHash>

namespace sorrel::rooms {

std::optional<AmountField> amountFieldFor(const QString& typeCode) {
    static const QHash<QString, AmountField> fields = {
        {"1", {}},
        {"2", {QStringLiteral("最低消费"), false}},
        {"3", {QStringLiteral("小时费"), false}},
        {"4", {QStringLiteral("房间费"), false}},
        {"5", {QStringLiteral("每人最低消费"), false}},
        {"6", {QStringLiteral("小时费"), false}},
        {"7", {QStringLiteral("茶位费"), false}},
        {"8", {QStringLiteral("每日房费"), false}},
        {"9", {QString(), true}},
        {"A", {QStringLiteral("每日房费"), false}},
    };
    const auto it = fields.constFind(typeCode.trimmed());
    if (it == fields.constEnd()) return std::nullopt;
    return *it;
}

} // namespace sorrel::rooms
