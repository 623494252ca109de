// The business day: day start opens it and fixes the business date, day end removes the day's
// cleared guests, sums the day's lines for the reports and archives its other income. The front desk's day
// panel, its automatic rollover at login and the back office's rollover all run these same steps.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/progress.h"
#include "common/settings_row.h"

#include <optional>

namespace sorrel {

inline const QString kDayStartCode = QStringLiteral("B100008");
inline const QString kDayEndCode = QStringLiteral("B100009");

// What every table operation answers while no business day is open.
inline const QString kDayNotStartedMessage =
    QStringLiteral("现在还未进行日始处理，所以不能进行[操作]，请进行[日始处理]！");

// Whether a business day is open, as the database holds it now: another workstation may have
// started or ended the day since this program read its settings.
bool businessDayOpen(Database& db);

// Advances a progress bar from 0 to 100 as the steps go.
using DayProgress = ProgressReport;

// An other-income amount the operator was still editing when day end began.
struct OtherIncomeEdit {
    QString code;
    double amount = 0;
};

// Posts one other-income amount as the day panel's operator typed it.
void postOtherIncome(Database& db, const OtherIncomeEdit& edit);

// The statements of day start and day end without a transaction of their own, for callers that
// run them inside a larger one.
void dayStartSteps(Database& db, const Clock& clock);
void dayEndSteps(Database& db, const Clock& clock, const std::optional<OtherIncomeEdit>& edited = {},
                 const DayProgress& progress = {});

inline const QString kDayAlreadyStartedMessage =
    QStringLiteral("[日始处理]已处理完毕，所以不能处理，在[日结]后才能进行[日始处理]！");
inline const QString kDayNotStartedForEndMessage =
    QStringLiteral("现在还未进行日始处理，所以不能进行[日结]，请进行[日始处理]！");

// Day start and day end by hand, each in its own transaction; a failure rolls it back and
// throws CodedFailure with the operation's code (B100008 day start, B100009 day end). The day's
// state is read again under the transaction's lock: a day already open (or already ended, by
// another workstation meanwhile) is refused with StepRefused and the message above, so no day
// is opened twice and no day's other income is archived twice.
void startDay(Database& db, const Clock& clock);
void endDay(Database& db, const Clock& clock, const std::optional<OtherIncomeEdit>& edited = {},
            const DayProgress& progress = {});

// Whether the first login of a calendar day must roll the day over: automatic rollover is on,
// the last day end was not today, and the open day (if any) is not already today's.
bool rolloverDue(const SettingsRow& settings, const QDate& today);

enum class RolloverOutcome { NotDue, DayStarted, DayEndedAndStarted };

// The front desk's automatic rollover: day end then day start, each in its own transaction and
// without questions. A day that is not open is not ended again, so its other income is never
// archived twice. The row is read afresh inside each transaction, so two workstations logging
// in at the same moment roll the day over once.
RolloverOutcome runAutomaticRollover(Database& db, const Clock& clock, const DayProgress& progress = {});

inline const QString kBackOfficeRolloverCode = QStringLiteral("A100011");

// The back office's rollover: the same steps in one transaction (A100011), so the day is
// either rolled over completely or not at all.
RolloverOutcome runRolloverInOneTransaction(Database& db, const Clock& clock,
                                            const DayProgress& progress = {});

} // namespace sorrel
