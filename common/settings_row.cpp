#include "common/settings_row.h"

#include "common/db/errors.h"
#include "common/db_datetime.h"
#include "common/money.h"

#include <QStringList>

namespace sorrel {

RecordSet readSettingsRow(Database& db, const QString& columns, SettingsLock lock) {
    const RecordSet rs = db.query(QStringLiteral("SELECT %1 FROM SetupPay").arg(columns) +
                                  (lock == SettingsLock::ForUpdate ? db.lockRowsClause() : QString()));
    if (rs.rowCount() != 1)
        throw DbError(QStringLiteral("设置记录 SetupPay 应有且只有一行，现有 %1 行").arg(rs.rowCount()));
    return rs;
}

SettingsRow loadSettingsRow(Database& db, SettingsLock lock) {
    const RecordSet rs = readSettingsRow(
        db,
        QStringLiteral("oper_code, mana_code, orde_code, user_name, user_name_s, user_name_e, user_tele, "
                       "time_work, time_star, time_end, pay_star, work_auto, work_back, pay_set_sum_int, "
                       "pay_set_item_int, pay_set_tax_type, pay_set_tax_perc, pay_set_tax_mone"),
        lock);
    const auto r = rs.row(0);
    SettingsRow s;
    s.operCode = r.text("oper_code");
    s.manaCode = r.text("mana_code");
    s.ordeCode = r.text("orde_code");
    s.userName = r.text("user_name");
    s.userNameS = r.text("user_name_s");
    s.userNameE = r.text("user_name_e");
    s.userTele = r.text("user_tele");
    s.timeWork = fromDbDateTime(r.value("time_work"));
    s.timeStar = fromDbDateTime(r.value("time_star"));
    s.timeEnd = fromDbDateTime(r.value("time_end"));
    s.payStar = r.flag("pay_star");
    s.workAuto = r.flag("work_auto");
    s.workBack = r.flag("work_back");
    s.sumRounding = r.text("pay_set_sum_int").trimmed();
    s.lineRounding = r.text("pay_set_item_int").trimmed();
    s.taxType = r.text("pay_set_tax_type").trimmed();
    s.taxPercent = r.number("pay_set_tax_perc");
    s.taxPerGuest = r.number("pay_set_tax_mone");
    return s;
}

BusinessIdentity businessIdentity(const SettingsRow& row) {
    return {QStringLiteral("【") + row.userName + QStringLiteral("】"), row.userNameS, row.userNameE,
            row.userName + QStringLiteral(" 电话：") + row.userTele};
}

namespace {

// A stored value in the type of the value it is compared with.
QVariant typedLike(const QVariant& stored, const QVariant& like) {
    switch (like.typeId()) {
    case QMetaType::Bool:
        return stored.isNull() ? false : stored.toDouble() != 0;
    case QMetaType::Int:
        return stored.isNull() ? 0 : stored.toInt();
    case QMetaType::Double:
        return stored.isNull() ? 0.0 : stored.toDouble();
    default:
        return stored.isNull() ? QString() : stored.toString();
    }
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.typeId() == QMetaType::Double) return compareMoney(a.toDouble(), b.toDouble()) == 0;
    return a == b;
}

// The value as the column stores it: yes/no as 0/1.
QVariant stored(const QVariant& value) {
    return value.typeId() == QMetaType::Bool ? QVariant(value.toBool() ? 1 : 0) : value;
}

} // namespace

SettingsValues readSettingsValues(Database& db, const QString& table, const SettingsValues& like,
                                  SettingsLock lock) {
    const QStringList columns = like.keys();
    const RecordSet rs =
        db.query(QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table) +
                 (lock == SettingsLock::ForUpdate ? db.lockRowsClause() : QString()));
    if (rs.rowCount() != 1)
        throw DbError(QStringLiteral("设置记录 %1 应有且只有一行，现有 %2 行").arg(table).arg(rs.rowCount()));
    SettingsValues values;
    for (const QString& c : columns)
        values.insert(c, typedLike(rs.value(0, c), like.value(c)));
    return values;
}

void saveChangedSettings(Database& db, const QString& table, const SettingsValues& asRead,
                         const SettingsValues& typed) {
    SettingsValues changed;
    for (auto it = typed.begin(); it != typed.end(); ++it)
        if (!sameValue(it.value(), typedLike(asRead.value(it.key()), it.value())))
            changed.insert(it.key(), it.value());
    if (changed.isEmpty()) return;
    const SettingsValues now = readSettingsValues(db, table, changed, SettingsLock::ForUpdate);
    for (auto it = changed.begin(); it != changed.end(); ++it)
        if (!sameValue(now.value(it.key()), typedLike(asRead.value(it.key()), it.value())))
            throw StepRefused(kSettingsChangedElsewhereMessage);
    QStringList sets;
    QVariantList values;
    for (auto it = changed.begin(); it != changed.end(); ++it) {
        sets << it.key() + QStringLiteral(" = ?");
        values << stored(it.value());
    }
    db.exec(QStringLiteral("UPDATE %1 SET %2").arg(table, sets.join(QStringLiteral(", "))), values);
}

} // namespace sorrel
