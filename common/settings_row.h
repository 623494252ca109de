// The installation's single settings row (SetupPay) as both programs read it: business
// identity, the logged-in operator and shift, and the state of the business day.
#pragma once

#include "common/db/database.h"

#include <QDateTime>
#include <QString>

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
};

// Throws DbError when the row is missing: nothing can run without it.
SettingsRow loadSettingsRow(Database& db);

// The business name as the printed forms carry it.
struct BusinessIdentity {
    QString reportTitle; // "【" + user_name + "】", the title line of the reports
    QString billShortName;
    QString billLatinName;
    QString billFooter; // user_name + " 电话：" + user_tele
};
BusinessIdentity businessIdentity(const SettingsRow& row);

} // namespace sorrel
