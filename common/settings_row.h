// The installation's single settings row (SetupPay) as both programs read it: business
// identity, the logged-in operator and shift, the state of the business day, and how bills are
// rounded and taxed. Every reader of the row goes through readSettingsRow.
#pragma once

#include "common/db/database.h"

#include <QDateTime>
#include <QString>
#include <QVariantMap>

namespace sorrel {

struct SettingsRow {
    QString operCode;
    QString manaCode;
    QString ordeCode;
    QString userName;
    QString userNameS;
    QString userNameE;
    QString userTele;
    QDateTime timeWork; // the business date, at midnight
    QDateTime timeStar;
    QDateTime timeEnd;
    bool payStar = false; // a business day is open
    bool workAuto = false;
    bool workBack = false;
    QString sumRounding;    // pay_set_sum_int: the bill rounding
    QString lineRounding;   // pay_set_item_int: the rounding of an order line's amount
    QString taxType;        // pay_set_tax_type
    double taxPercent = 0;  // pay_set_tax_perc
    double taxPerGuest = 0; // pay_set_tax_mone
};

enum class SettingsLock { None, ForUpdate };

// `columns` (a select list) of the settings row; with ForUpdate under the running transaction's
// lock of the row. Throws DbError unless the database holds exactly one settings row: a bill is
// never rounded, taxed or numbered by a guess, nor by one of two rows picked at random.
RecordSet readSettingsRow(Database& db, const QString& columns, SettingsLock lock = SettingsLock::None);

// The whole row; throws DbError as readSettingsRow does.
SettingsRow loadSettingsRow(Database& db, SettingsLock lock = SettingsLock::None);

// The business name as the printed forms carry it.
struct BusinessIdentity {
    QString reportTitle; // "【" + user_name + "】", the title line of the reports
    QString billShortName;
    QString billLatinName;
    QString billFooter; // user_name + " 电话：" + user_tele
};
BusinessIdentity businessIdentity(const SettingsRow& row);

inline const QString kSettingsChangedElsewhereMessage =
    QStringLiteral("设置已被其他工作站修改，已重新读取，请重新输入！");

// The single-row settings tables a settings screen edits: SetupPay and setupprint.
inline const QString kCashierSettingsTable = QStringLiteral("SetupPay");
inline const QString kBillLayoutTable = QStringLiteral("setupprint");

// Values of some columns of one settings table, by column name: text as QString, yes/no as
// bool, whole numbers as int, decimals as double.
using SettingsValues = QVariantMap;

// `columns` of the single row of `table` as SettingsValues typed like `like`'s values. Throws
// DbError unless the table holds exactly one row.
SettingsValues readSettingsValues(Database& db, const QString& table, const SettingsValues& like,
                                  SettingsLock lock = SettingsLock::None);

// Inside the caller's transaction: writes to the single row of `table` only the columns whose
// value in `typed` differs from `asRead`, bound. The row is re-read under the lock first; when
// another workstation has changed one of those columns since `asRead` was read, nothing is
// written and StepRefused(kSettingsChangedElsewhereMessage) is thrown. Every other column (the
// bill counter, the business day, the operator, the system password) is left as it stands.
void saveChangedSettings(Database& db, const QString& table, const SettingsValues& asRead,
                         const SettingsValues& typed);

} // namespace sorrel
