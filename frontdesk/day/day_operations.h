// The day panel's business: what its status block shows, its question before day end and the
// other-income amounts typed in during the day. Day start and day end themselves are the
// business day's own (common/business_day.h), shared with the automatic rollover.
#pragma once

#include "common/business_day.h"
#include "common/clock.h"
#include "common/db/database.h"
#include "common/db/recordset.h"
#include "common/settings_row.h"

#include <optional>

namespace sorrel::day {

inline const QString kDayOpenStatus = QStringLiteral("日始工作已经完成");
inline const QString kDayClosedStatus = QStringLiteral("日结完成,尚未日始");
inline const QString kDayStartQuestion = QStringLiteral("请确认是否进行[日始处理]!");
// The other-income amount box takes at most this many characters.
constexpr int kIncomeAmountLength = 7;

// Asked before every day end, also when no table is in use.
QString dayEndQuestion(int tablesInUse);

struct DayStatus {
    bool open = false;
    QString label;       // kDayOpenStatus or kDayClosedStatus
    QString timeCaption; // "日始时间" or "日结时间"
    QDateTime time;      // the moment of the last day start or day end
};
DayStatus dayStatus(const SettingsRow& settings);

// How many guest records are still in use on any workstation.
int tablesInUse(Database& db);

// OtherIncomeList by code: othe_inco_code, othe_inco_name, othe_inco_mone.
RecordSet loadOtherIncome(Database& db);
// "保存回退": the automatic-rollover and day-end backup switches and the amount being edited,
// together.
void saveDayPanel(Database& db, bool workAuto, bool workBack, const std::optional<OtherIncomeEdit>& edit);

} // namespace sorrel::day
