// Reverse settlement ("反结"): a bill cleared today comes back onto its free table, open again
// (the table re-opened, "4"), and leaves the history. The list of a table's cleared bills reads
// the history by table and business date.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "frontdesk/billing/bill_settings.h"

#include <QDate>

namespace sorrel::table_life {

inline const QString kReverseCode = QStringLiteral("B1000012");
inline const QString kReverseQuestion = QStringLiteral("请确定是否进行[反结帐]操作，请选择(是/否)！");
inline const QString kBillAfterDayEndMessage =
    QStringLiteral("此帐单已进行过日结处理，不在当前营业数据中，所以不能进行[反结帐]！");

struct ClearedBill {
    int number = 0;
    QString tableCode;
    QString tableName;
    QString guestName;
    int guests = 0;
    QDateTime opened;
    QDateTime settled;
    double received = 0;
    QString cashier;
};

// The bills of table `tableCode` in the history whose business date lies from `from` to `to`,
// by settlement time.
QList<ClearedBill> loadClearedBills(Database& db, const QString& tableCode, const QDate& from,
                                    const QDate& to);

// In one transaction: refused (StepRefused) for a wrong system password (systemPasswordMatches), a table that
// is no longer free, a bill no longer in the current tables (day end has taken it: nothing is rebuilt from
// the history) or already brought back elsewhere. Otherwise the bill is on its table again, reopened
// (reopenBill), and its rows are gone from AllGues, AllCons and AllGuesPay. Any other failure is CodedFailure
// B1000012.
void reverseSettle(Database& db, const QString& tableCode, int bill, const QString& password,
                   const billing::BillSettings& settings, const Clock& clock);

} // namespace sorrel::table_life
