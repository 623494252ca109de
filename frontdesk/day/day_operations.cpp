#include "frontdesk/day/day_operations.h"

#include "common/db/transaction.h"

namespace sorrel::day {

QString dayEndQuestion(int tablesInUse) {
    return QStringLiteral("现在还有[") + QString::number(tablesInUse) +
           QStringLiteral("]个台正在使用，请选择是否进行[日结处理]!");
}

DayStatus dayStatus(const SettingsRow& settings) {
    if (settings.payStar) return {true, kDayOpenStatus, QStringLiteral("日始时间"), settings.timeStar};
    return {false, kDayClosedStatus, QStringLiteral("日结时间"), settings.timeEnd};
}

int tablesInUse(Database& db) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM TableGuestlist WHERE tabl_gues_use <> 0")).toInt();
}

RecordSet loadOtherIncome(Database& db) {
    return db.query(
        QStringLiteral("SELECT othe_inco_code, othe_inco_name, othe_inco_mone FROM OtherIncomeList "
                       "ORDER BY othe_inco_code"));
}

void saveDayPanel(Database& db, bool workAuto, bool workBack, const std::optional<OtherIncomeEdit>& edit) {
    Transaction tx(db);
    db.exec(QStringLiteral("UPDATE SetupPay SET work_auto = ?, work_back = ?"), {workAuto ? 1 : 0, workBack ? 1 : 0});
    if (edit) postOtherIncome(db, *edit);
    tx.commit();
}

} // namespace sorrel::day
