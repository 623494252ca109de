// The demo venue's history: what a year-old venue's books must show (bills paid in full, every
// shift handed over, cards and credit accounts agreeing with their bills), the same history from
// the same seed on every engine, and a history moved to a server unchanged.
#include "common/bill_number.h"
#include "common/db/connection.h"
#include "common/db/transaction.h"
#include "common/installation/engine_copy.h"
#include "common/installation/target.h"
#include "tests/support/built_programs.h"
#include "tests/support/test_database.h"
#include "tools/demo_history/demo_history.h"

#include <QTemporaryDir>
#include <cmath>

#define SQLITE_HAS_CODEC
#include <sqlcipher/sqlite3.h>

using namespace sorrel;
using test::ScratchDatabase;

namespace {

demo_history::HistoryOptions fewDays(quint32 seed) {
    demo_history::HistoryOptions options;
    options.days = 3;
    options.billsPerDay = 60;
    options.seed = seed;
    options.lastDay = QDate(2024, 4, 30);
    return options;
}

// The journal the file itself names, asked of a plain reader that changes nothing: the system's
// own reader of a file nobody works on reads it as it lies, without its journal.
QString journalModeOf(const QString& file) {
    sqlite3* db = nullptr;
    QString mode;
    const QByteArray path = file.toUtf8(), key = databasePassword().toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_key(db, key.constData(), int(key.size())) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        mode = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return mode;
}

qlonglong count(Database& db, const QString& sql) {
    return db.scalar(sql).toLongLong();
}

class DemoHistoryTest : public ::testing::TestWithParam<Engine> {};

TEST_P(DemoHistoryTest, BooksAddUpAndTheVenueGoesOnAfterIt) {
    ScratchDatabase venue(GetParam(), ScratchDatabase::Contents::DemoVenue);
    Database& db = venue.db();
    int percent = 0;
    const demo_history::HistoryTally tally =
        demo_history::generate(db, fewDays(7), [&](int p) { percent = std::max(percent, p); });
    EXPECT_EQ(percent, 100);
    EXPECT_EQ(tally.bills, count(db, "SELECT count(*) FROM AllGues"));
    EXPECT_EQ(tally.lines, count(db, "SELECT count(*) FROM AllCons"));
    EXPECT_EQ(tally.payments, count(db, "SELECT count(*) FROM AllGuesPay"));
    EXPECT_GT(tally.bills, 100);

    // Each fault is a count of bills (or rows) that show it; every one must be 0.
    const QList<std::pair<const char*, const char*>> faults = {
        {"payments other than the receivable",
         "SELECT count(*) FROM AllGues g WHERE abs(g.tabl_gues_shou - (SELECT COALESCE(sum(p.pay_type_mone), "
         "0) "
         "FROM AllGuesPay p WHERE p.tabl_gues_auto_recn = g.tabl_gues_auto_recn)) > 0.005"},
        {"received other than receivable less waiver",
         "SELECT count(*) FROM AllGues WHERE abs(tabl_gues_fact + none_mone - tabl_gues_shou) > 0.005"},
        {"food and special totals other than the lines",
         "SELECT count(*) FROM AllGues g WHERE abs(g.tabl_gues_dish + g.tabl_gues_spec - (SELECT "
         "COALESCE(sum(l.tabl_cons_tota), 0) FROM AllCons l WHERE l.tabl_gues_auto_recn = "
         "g.tabl_gues_auto_recn)) "
         "> 0.5"},
        {"lines of no bill", "SELECT count(*) FROM AllCons l WHERE NOT EXISTS (SELECT 1 FROM AllGues g WHERE "
                             "g.tabl_gues_auto_recn = l.tabl_gues_auto_recn)"},
        {"payments not handed over", "SELECT count(*) FROM AllGuesPay WHERE pay_flag = 0"},
        {"handovers other than the payments",
         "SELECT CASE WHEN abs((SELECT sum(pay_type_mone) FROM Allpaytotal) - "
         "(SELECT sum(pay_type_mone) FROM AllGuesPay)) > 0.005 THEN 1 ELSE 0 END FROM SetupPay"},
        {"card balances other than top-ups less charges",
         "SELECT count(*) FROM MemberList m WHERE m.memb_card_type = '储值卡' AND (abs(m.memb_surp - "
         "(SELECT COALESCE(sum(t.memb_mana_save), 0) FROM membManage t WHERE t.memb_card_code = "
         "m.memb_card_code) + "
         "(SELECT COALESCE(sum(g.memb_mone), 0) FROM AllGues g WHERE g.memb_card_code = m.memb_card_code)) > "
         "0.005 "
         "OR abs(m.memb_use - (SELECT COALESCE(sum(g.memb_mone), 0) FROM AllGues g "
         "WHERE g.memb_card_code = m.memb_card_code)) > 0.005 OR m.memb_surp < 0)"},
        {"credit debts other than charges less repayments",
         "SELECT count(*) FROM HangGues h WHERE abs(h.hang_gues_use - (SELECT COALESCE(sum(g.hang_mone), 0) "
         "FROM "
         "AllGues g WHERE g.hang_code = h.hang_gues_code) + (SELECT COALESCE(sum(r.hang_gues_inco), 0) FROM "
         "Hangguesin r WHERE r.hang_gues_code = h.hang_gues_code)) > 0.005 OR h.hang_gues_use > "
         "h.hang_gues_limi"},
        {"bills still current", "SELECT count(*) FROM TableGuestlist"},
        {"a business day left open", "SELECT pay_star FROM SetupPay"},
        {"days without their other income",
         "SELECT CASE WHEN (SELECT count(DISTINCT othe_inco_time) FROM AllOtherInCome) = 3 THEN 0 ELSE 1 END "
         "FROM SetupPay"},
    };
    for (const auto& [fault, sql] : faults)
        EXPECT_EQ(count(db, QString::fromUtf8(sql)), 0) << fault;

    // Every kind of business the front desk does shows up.
    const QList<std::pair<const char*, const char*>> kinds = {
        {"returns", "SELECT count(*) FROM AllCons WHERE menu_type_code = '2'"},
        {"gifts", "SELECT count(*) FROM AllCons WHERE menu_type_code = '3' AND COALESCE(grou_code, '') = ''"},
        {"set meals", "SELECT count(*) FROM AllCons WHERE COALESCE(grou_code, '') <> ''"},
        {"card payments", "SELECT count(*) FROM AllGues WHERE memb_mone > 0"},
        {"credit charges", "SELECT count(*) FROM AllGues WHERE hang_mone > 0"},
        {"waivers", "SELECT count(*) FROM AllGues WHERE none_mone > 0"},
        {"discounts", "SELECT count(*) FROM AllGues WHERE tabl_gues_disc > 0"},
        {"room charges", "SELECT count(*) FROM AllGues WHERE tabl_gues_room > 0"},
        {"both shifts", "SELECT count(DISTINCT orde_code) - 1 FROM AllGues"},
        {"consumption types beyond five", "SELECT count(DISTINCT cons_type_code) - 5 FROM AllGues"},
    };
    for (const auto& [kind, sql] : kinds)
        EXPECT_GT(count(db, QString::fromUtf8(sql)), 0) << kind;

    // The next table opened continues after the history's last bill.
    Transaction tx(db);
    EXPECT_EQ(drawBillNumber(db), count(db, "SELECT max(tabl_gues_auto_recn) FROM AllGues") + 1);
}

TEST_P(DemoHistoryTest, TheSameSeedGivesTheSameHistoryOnEveryEngine) {
    const auto tallies = [](Engine engine, quint32 seed) {
        ScratchDatabase venue(engine, ScratchDatabase::Contents::DemoVenue);
        demo_history::generate(venue.db(), fewDays(seed));
        return tallyInstallation(venue.db());
    };
    const QList<TableTally> onFile = tallies(Engine::Embedded, 7);
    const QList<TableTally> here = tallies(GetParam(), 7);
    const QList<TableTally> otherSeed = tallies(GetParam(), 8);
    ASSERT_EQ(here.size(), onFile.size());
    bool differs = false;
    for (int i = 0; i < here.size(); ++i) {
        EXPECT_EQ(here[i].rows, onFile[i].rows) << here[i].table.toStdString();
        EXPECT_NEAR(here[i].money, onFile[i].money, 0.005) << here[i].table.toStdString();
        differs = differs || here[i].rows != otherSeed[i].rows ||
                  std::abs(here[i].money - otherSeed[i].money) > 0.005;
    }
    EXPECT_TRUE(differs);
}

TEST_P(DemoHistoryTest, TheToolMakesAHistoryThatCopiesUnchanged) {
    QTemporaryDir dir;
    const QString file = dir.filePath("venue.mdb");
    const test::ProgramRun made =
        test::runProgram("sorrel-db", {"demo", "--history", "2", "--seed", "5", file});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(made.out.contains("100%")) << made.out.toStdString();
    // Filled under a rollback journal, the file is shared through its write-ahead log again.
    EXPECT_EQ(journalModeOf(file), QStringLiteral("wal"));

    // There and back again: a server's order lines are read in several pages.
    ScratchDatabase there(GetParam(), ScratchDatabase::Contents::Empty);
    const QString target = GetParam() == Engine::Embedded ? dir.filePath("copy.mdb") : there.target();
    const QString back = dir.filePath("back.mdb");
    for (const auto& [from, to] : {std::pair{file, target}, std::pair{target, back}}) {
        const test::ProgramRun copied = test::runProgram("sorrel-db", {"copy", from, to});
        ASSERT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    }

    const QList<TableTally> original = tallyInstallation(*openTarget(file, TargetUse::ReadOnly));
    const QList<TableTally> returned = tallyInstallation(*openTarget(back, TargetUse::ReadOnly));
    ASSERT_EQ(original.size(), returned.size());
    for (int i = 0; i < original.size(); ++i) {
        EXPECT_EQ(original[i].rows, returned[i].rows) << original[i].table.toStdString();
        EXPECT_NEAR(original[i].money, returned[i].money, 0.005) << original[i].table.toStdString();
    }
}

SORREL_ON_EVERY_ENGINE(DemoHistoryTest);

} // namespace
