#include "common/venue_reset.h"

#include "common/db/transaction.h"
#include "common/tables/table_state_moves.h"

namespace sorrel {

namespace {

// In this order; the tables set free last.
const char* const kEmptied[] = {
    "bookin",         "AllConsDay",  "AllGuesDay",   "AllGuesPayDay",  "allcons",        "allgues",
    "allotherincome", "allpaytotal", "allguespay",   "Tableconslist",  "Tableguestlist", "Tableguespay",
    "StoreBill",      "Storedetail", "AllStorebill", "AllStoredetail", "MembManage"};

qlonglong rows(Database& db, const QString& table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toLongLong();
}

} // namespace

QString resetQuestion(Database& db) {
    return kResetQuestion +
           QStringLiteral(
               "\n\n将清除：当前帐单 %1 张（点单 %2 行），历史帐单 %3 张（明细 %4 行，付款 %5 笔），"
               "预订 %6 条，库存单据 %7 张（历史 %8 张），会员充值记录 %9 条，交班记录 %10 条；"
               "全部房台改为空闲。\n保留：酒菜、房台、员工、会员及余额、挂帐客人、库存数量、系统设置和日志。"
               "\n清除前会先备份到 back 文件夹。")
               .arg(rows(db, QStringLiteral("Tableguestlist")))
               .arg(rows(db, QStringLiteral("Tableconslist")))
               .arg(rows(db, QStringLiteral("allgues")))
               .arg(rows(db, QStringLiteral("allcons")))
               .arg(rows(db, QStringLiteral("allguespay")))
               .arg(rows(db, QStringLiteral("bookin")))
               .arg(rows(db, QStringLiteral("StoreBill")))
               .arg(rows(db, QStringLiteral("AllStorebill")))
               .arg(rows(db, QStringLiteral("MembManage")))
               .arg(rows(db, QStringLiteral("allpaytotal")));
}

void prepareReset(Database& db, const QString& backFolder, const Clock& clock,
                  installation::BackupPurpose purpose, const WatchWait& wait) {
    requireDatabaseAlone(db, ownWorkstationId(), wait);
    installation::backupDatabase(db, backFolder, clock, purpose);
}

void resetVenue(Database& db, const QString& backFolder, const Clock& clock,
                installation::BackupPurpose purpose, const WatchWait& wait) {
    prepareReset(db, backFolder, clock, purpose, wait);
    Transaction tx(db);
    resetVenueData(db);
    tx.commit();
}

void resetVenueData(Database& db) {
    for (const char* table : kEmptied)
        db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    // Every table of the venue, whatever the board showed, free and without a guest's copies.
    tables::moveEveryTable(db, tables::TableMove::ResetVenue, tables::TableColumns::vacated());
}

} // namespace sorrel
