#include "backoffice/data/data_clearing.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/installation/backup.h"
#include "common/messages.h"

#include <QDateTime>

namespace sorrel::data {

namespace {

struct Dated {
    const char* table;
    const char* column; // its business date (the log: its time)
};

const char* const kBasic[] = {"itemlist", "classlist", "ItemGroup", "tablelist"};
// The day summaries go with the lines, bills and payments they sum.
const char* const kHistory[] = {"AllConsDay",     "AllGuesDay", "AllGuesPayDay",  "allcons",
                                "allgues",        "allguespay", "allotherincome", "allstorebill",
                                "allstoredetail", "allpaytotal"};
const Dated kHistoryDates[] = {{"AllConsDay", "summ_day"},         {"AllGuesDay", "summ_day"},
                               {"AllGuesPayDay", "summ_day"},      {"allcons", "tabl_cons_time_work"},
                               {"allgues", "tabl_gues_time_work"}, {"allotherincome", "othe_inco_time"},
                               {"allguespay", "pay_time"},         {"allstorebill", "stor_bill_date_work"},
                               {"allpaytotal", "pay_date_work"},   {"allStoreDetail", "stor_bill_date_work"}};

// Whole days: from the first moment of `from` to before the first moment of the day after `to`.
QVariantList days(const QDate& from, const QDate& to) {
    return {QDateTime(from, QTime(0, 0)), QDateTime(to.addDays(1), QTime(0, 0))};
}

QString inDays(const char* column) {
    return QStringLiteral("%1 >= ? AND %1 < ?").arg(QLatin1String(column));
}

qlonglong rows(Database& db, const QString& table, const QString& where = {},
               const QVariantList& params = {}) {
    return db
        .scalar(QStringLiteral("SELECT count(*) FROM %1%2")
                    .arg(table, where.isEmpty() ? QString() : " WHERE " + where),
                params)
        .toLongLong();
}

// What of the day's business still stands on the basic information, one part each.
QStringList openBusiness(Database& db) {
    QStringList open;
    const auto note = [&](qlonglong n, const QString& what) {
        if (n > 0) open << what.arg(n);
    };
    note(rows(db, QStringLiteral("TableGuestlist"), QStringLiteral("tabl_gues_use = 1")),
         QStringLiteral("未结束的帐单 %1 张"));
    note(rows(db, QStringLiteral("TableConsList")), QStringLiteral("已下单的消费 %1 行"));
    note(rows(db, QStringLiteral("TableConsListTemp")), QStringLiteral("未下单的点单 %1 行"));
    note(rows(db, QStringLiteral("bookin")), QStringLiteral("预订 %1 条"));
    note(rows(db, QStringLiteral("StoreBill")), QStringLiteral("未过帐的库存单据 %1 张"));
    return open;
}

} // namespace

QString clearingRefusal(const ClearingChoice& choice) {
    if (!choice.any()) return kNothingToClearMessage;
    if ((choice.someHistory && choice.historyFrom > choice.historyTo) ||
        (choice.someLog && choice.logFrom > choice.logTo))
        return kClearingDatesReversedMessage;
    return {};
}

QString clearingQuestion(Database& db, const ClearingChoice& choice) {
    QStringList goes;
    if (choice.stock)
        goes << QStringLiteral("酒菜库存数量清零（%1 种）").arg(rows(db, QStringLiteral("itemlist")));
    if (choice.basic)
        goes << QStringLiteral("基本信息：酒菜 %1 种、小类 %2 个、组合 %3 个、房台 %4 个")
                    .arg(rows(db, QStringLiteral("itemlist")))
                    .arg(rows(db, QStringLiteral("classlist")))
                    .arg(rows(db, QStringLiteral("ItemGroup")))
                    .arg(rows(db, QStringLiteral("tablelist")));
    if (choice.allHistory)
        goes << QStringLiteral("全部历史数据：帐单 %1 张、明细 %2 行、付款 %3 笔")
                    .arg(rows(db, QStringLiteral("allgues")))
                    .arg(rows(db, QStringLiteral("allcons")))
                    .arg(rows(db, QStringLiteral("allguespay")));
    else if (choice.someHistory)
        goes << QStringLiteral("%1 到 %2 的历史数据：帐单 %3 张、明细 %4 行")
                    .arg(choice.historyFrom.toString(Qt::ISODate), choice.historyTo.toString(Qt::ISODate))
                    .arg(rows(db, QStringLiteral("allgues"), inDays("tabl_gues_time_work"),
                              days(choice.historyFrom, choice.historyTo)))
                    .arg(rows(db, QStringLiteral("allcons"), inDays("tabl_cons_time_work"),
                              days(choice.historyFrom, choice.historyTo)));
    if (choice.someLog)
        goes << QStringLiteral("%1 到 %2 的日志 %3 条")
                    .arg(choice.logFrom.toString(Qt::ISODate), choice.logTo.toString(Qt::ISODate))
                    .arg(rows(db, QStringLiteral("systemlog"), inDays("log_time"),
                              days(choice.logFrom, choice.logTo)));
    return QStringLiteral("请确定是否进行数据清除操作，操作后数据将不能进行恢复，请慎重！") +
           messages::title() + QStringLiteral("!\n\n将清除：") + goes.join(QStringLiteral("；")) +
           QStringLiteral("。\n清除前会先备份到 back 文件夹。");
}

void clearData(Database& db, const ClearingChoice& choice, const QString& backFolder, const Clock& clock,
               const WatchWait& wait) {
    const QString refusal = clearingRefusal(choice);
    if (!refusal.isEmpty()) throw StepRefused(refusal);
    const auto refuseOpenBusiness = [&] {
        const QStringList open = openBusiness(db);
        if (!open.isEmpty())
            throw StepRefused(
                QStringLiteral(
                    "还有营业数据在使用基本信息（%1），本次清除未作任何改动，请处理后再进行此操作！")
                    .arg(open.join(QStringLiteral("、"))));
    };
    // Asked before the backup so that no needless copy is made, and again where it counts.
    if (choice.basic) refuseOpenBusiness();
    requireDatabaseAlone(db, ownWorkstationId(), wait);
    installation::backupDatabase(db, backFolder, clock, installation::BackupPurpose::BeforeClear);
    Transaction tx(db);
    if (choice.stock) db.exec(QStringLiteral("UPDATE itemlist SET item_coun = 0"));
    if (choice.basic) {
        refuseOpenBusiness();
        for (const char* table : kBasic)
            db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    }
    if (choice.allHistory) {
        for (const char* table : kHistory)
            db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    } else if (choice.someHistory) {
        for (const Dated& d : kHistoryDates)
            db.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(QLatin1String(d.table), inDays(d.column)),
                    days(choice.historyFrom, choice.historyTo));
    }
    if (choice.someLog)
        db.exec(QStringLiteral("DELETE FROM systemlog WHERE %1").arg(inDays("log_time")),
                days(choice.logFrom, choice.logTo));
    tx.commit();
}

} // namespace sorrel::data
