#include "common/business_day.h"

#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/line_summary.h"

namespace sorrel {

namespace {

void report(const DayProgress& progress, int percent) {
    if (progress) progress(percent);
}

// The row as it stands now, read under the write lock of the running transaction.
SettingsRow lockedSettings(Database& db) {
    return loadSettingsRow(db, SettingsLock::ForUpdate);
}

} // namespace

bool businessDayOpen(Database& db) {
    return db.scalar(QStringLiteral("SELECT pay_star FROM SetupPay")).toLongLong() != 0;
}

void postOtherIncome(Database& db, const OtherIncomeEdit& edit) {
    db.exec(QStringLiteral("UPDATE OtherIncomeList SET othe_inco_mone = ? WHERE othe_inco_code = ?"),
            {edit.amount, edit.code});
}

void dayStartSteps(Database& db, const Clock& clock) {
    const QDateTime now = clock.now();
    db.exec(QStringLiteral("UPDATE OtherIncomeList SET othe_inco_mone = 0"));
    db.exec(QStringLiteral("UPDATE SetupPay SET time_work = ?, pay_star = 1, time_star = ?"),
            {toDbDate(now.date()), toDbDateTime(now)});
}

void dayEndSteps(Database& db, const Clock& clock, const std::optional<OtherIncomeEdit>& edited,
                 const DayProgress& progress) {
    // The business date of the day being closed: what its other income is archived under,
    // even when the day is ended after midnight.
    const QDateTime businessDate = lockedSettings(db).timeWork;
    report(progress, 10);
    if (edited) postOtherIncome(db, *edited);
    report(progress, 20);
    db.exec(QStringLiteral("UPDATE TableConsList SET tabl_cons_flag = 0"));
    report(progress, 30);
    // Lines of guests whose table has been cleared go; lines of tables still in use stay with
    // their guest record and are settled under the next business date.
    db.exec(QStringLiteral("UPDATE TableConsList SET tabl_cons_flag = 1 WHERE EXISTS (SELECT 1 FROM "
                           "TableGuestlist b WHERE b.tabl_gues_auto_recn = TableConsList.tabl_gues_auto_recn "
                           "AND b.tabl_gues_use = 0)"));
    report(progress, 40);
    // The payments of cleared guests not yet handed over: their copies are in AllGuesPay, which
    // the next handover reads.
    db.exec(QStringLiteral("DELETE FROM tableguespay WHERE EXISTS (SELECT 1 FROM TableGuestlist b "
                           "WHERE b.tabl_gues_auto_recn = tableguespay.tabl_gues_auto_recn AND "
                           "b.tabl_gues_use = 0)"));
    // The day closed and the days of the bills cleared since the last day end are summed for
    // the reports once those bills are no longer pending.
    const QList<QDate> summed = daysClosedByDayEnd(
        db, businessDate.isValid() ? std::optional<QDate>(businessDate.date()) : std::nullopt);
    db.exec(QStringLiteral("DELETE FROM TableGuestlist WHERE tabl_gues_use = 0"));
    summarizeDays(db, summed);
    report(progress, 50);
    db.exec(QStringLiteral("DELETE FROM TableConsList WHERE tabl_cons_flag = 1"));
    report(progress, 60);
    // Row by row, so the business date travels as a plain value on every engine.
    const QVariant archivedUnder =
        businessDate.isValid() ? QVariant(toDbDate(businessDate.date())) : QVariant();
    const RecordSet income = db.query(QStringLiteral("SELECT othe_inco_code, othe_inco_name, othe_inco_mone "
                                                     "FROM OtherIncomeList ORDER BY othe_inco_code"));
    for (int i = 0; i < income.rowCount(); ++i)
        db.exec(QStringLiteral("INSERT INTO AllOtherInCome (othe_inco_code, othe_inco_name, othe_inco_mone, "
                               "othe_inco_time) VALUES (?, ?, ?, ?)"),
                {income.value(i, "othe_inco_code"), income.value(i, "othe_inco_name"),
                 income.value(i, "othe_inco_mone"), archivedUnder});
    report(progress, 70);
    db.exec(QStringLiteral("UPDATE SetupPay SET pay_star = 0, time_end = ?"), {toDbDateTime(clock.now())});
    report(progress, 80);
}

void startDay(Database& db, const Clock& clock) {
    runCoded(db, kDayStartCode, [&] {
        if (lockedSettings(db).payStar) throw StepRefused(kDayAlreadyStartedMessage);
        dayStartSteps(db, clock);
    });
}

void endDay(Database& db, const Clock& clock, const std::optional<OtherIncomeEdit>& edited,
            const DayProgress& progress) {
    runCoded(db, kDayEndCode, [&] {
        if (!lockedSettings(db).payStar) throw StepRefused(kDayNotStartedForEndMessage);
        dayEndSteps(db, clock, edited, progress);
    });
    report(progress, 100);
}

bool rolloverDue(const SettingsRow& settings, const QDate& today) {
    if (!settings.workAuto || settings.timeEnd.date() == today) return false;
    return !(settings.payStar && settings.timeWork.date() == today);
}

RolloverOutcome runAutomaticRollover(Database& db, const Clock& clock, const DayProgress& progress) {
    const QDate today = clock.today();
    bool ended = false;
    bool due = true;
    runCoded(db, kDayEndCode, [&] {
        const SettingsRow now = lockedSettings(db);
        due = rolloverDue(now, today);
        if (due && now.payStar) {
            dayEndSteps(db, clock, {}, progress);
            ended = true;
        }
    });
    if (!due) return RolloverOutcome::NotDue;
    bool started = false;
    runCoded(db, kDayStartCode, [&] {
        const SettingsRow now = lockedSettings(db);
        if (now.payStar && now.timeWork.date() == today)
            return; // another workstation has just opened today's day
        dayStartSteps(db, clock);
        started = true;
    });
    report(progress, 100);
    if (!started) return RolloverOutcome::NotDue;
    return ended ? RolloverOutcome::DayEndedAndStarted : RolloverOutcome::DayStarted;
}

RolloverOutcome runRolloverInOneTransaction(Database& db, const Clock& clock, const DayProgress& progress) {
    const RolloverOutcome outcome = runCoded(db, kBackOfficeRolloverCode, [&] {
        const SettingsRow now = lockedSettings(db);
        if (!rolloverDue(now, clock.today())) return RolloverOutcome::NotDue;
        if (now.payStar) dayEndSteps(db, clock, {}, progress);
        dayStartSteps(db, clock);
        return now.payStar ? RolloverOutcome::DayEndedAndStarted : RolloverOutcome::DayStarted;
    });
    report(progress, 100);
    return outcome;
}

} // namespace sorrel
