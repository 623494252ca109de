// The room setup as a manager meets it: what a department, type, table or consumption mode may not
// be saved, re-coded or deleted with, what another workstation does meanwhile, and typing that
// must not close the program.
#include "tests/backoffice/rooms/room_fixture.h"

#include "common/typed_input.h"

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::rooms;

namespace {

class RoomSetupTest : public test::RoomTest {};

TEST_P(RoomSetupTest, ADepartmentWithTablesKeepsItsCodeAndStaysUntilItsLastTableGoes) {
    MaintenanceList& departments = lists().departments();
    ASSERT_TRUE(departments.moveToKey("01"));
    EXPECT_FALSE(departments.edit("dept_code", "09"));
    EXPECT_EQ(departments.text("dept_code"), "01"); // the pending change is dropped
    EXPECT_FALSE(departments.remove());
    ASSERT_EQ(sink.shown.size(), 2);
    EXPECT_EQ(sink.shown[0].text, QStringLiteral("[部门]下面设有[房台]，所以不能被修改！"));
    EXPECT_EQ(sink.shown[0].title, QStringLiteral("岚舟管理系列"));
    EXPECT_EQ(sink.shown[1].text, QStringLiteral("[部门]下面设有[房台]，所以不能被删除！"));

    // Another workstation adds a table to the empty department after it was read: the re-code is
    // refused at the save.
    ASSERT_TRUE(departments.moveToKey("02"));
    EXPECT_TRUE(departments.edit("dept_code", "03"));
    scratch().connectAgain()->exec("INSERT INTO TableList (tabl_code, tabl_name, tabl_type_code, dept_code) "
                                   "VALUES ('201', '包一', '01', '02')");
    EXPECT_FALSE(departments.save());
    departments.cancel();

    ASSERT_TRUE(departments.moveToKey("01"));
    ASSERT_TRUE(lists().tables().moveToKey("101"));
    ASSERT_TRUE(lists().tables().remove());
    EXPECT_TRUE(departments.edit("dept_code", "09"));
    EXPECT_TRUE(departments.save());
    EXPECT_TRUE(departments.remove());
    EXPECT_EQ(db().scalar("SELECT count(*) FROM DepartmentList WHERE dept_code IN ('01', '09')").toInt(), 0);
}

TEST_P(RoomSetupTest, ATableAtTheDeskOrBookedIsRenamedAndRetypedButKeepsItsCodeAndStays) {
    db().exec("INSERT INTO TableTypeList (tabl_type_code, tabl_type_name, tabl_type_rema, cons_mode_code) "
              "VALUES ('02', '卡座', ' ', '01')");
    const char* uses[] = {
        "INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, cons_mode_code) VALUES (7, '101', '01')",
        "INSERT INTO bookin (tabl_code, book_name, book_coun) VALUES ('101', '王先生', 6)",
    };
    for (const char* use : uses) {
        reopen();
        ASSERT_TRUE(lists().departments().moveToKey("01"));
        MaintenanceList& tables = lists().tables();
        ASSERT_TRUE(tables.moveToKey("101"));
        // The front desk starts using the table after the back office read it.
        auto desk = scratch().connectAgain();
        desk->exec(use);
        sink.shown.clear();
        tables.edit("tabl_code", "109");
        EXPECT_FALSE(tables.save()) << use;
        tables.cancel();
        tables.edit("tabl_name", "窗边一号");
        tables.edit("tabl_type_code", "02");
        EXPECT_TRUE(tables.save()) << use;
        EXPECT_FALSE(tables.remove()) << use;
        EXPECT_EQ(shown(), (QStringList{QStringLiteral("此[台桌]现在正在被[前台操作]使用，不能被修改!"),
                                        QStringLiteral("此[台桌]现在正在被[前台操作]使用，不能被删除!")}));
        EXPECT_EQ(db().scalar("SELECT tabl_type_code FROM TableList WHERE tabl_code = '101'").toString(),
                  "02");
        desk->exec("DELETE FROM TableGuestlist");
        desk->exec("DELETE FROM bookin");
    }
}

TEST_P(RoomSetupTest, ATypeOrModeInUseKeepsItsCodeAndStays) {
    struct Case {
        const char* what;
        const char* use; // by another workstation, after the list was read
        std::function<MaintenanceList&()> list;
        const char* key;
        const char* column;
        QString change;
        QString remove;
    } cases[] = {
        {"type of a table", "", [&]() -> MaintenanceList& { return lists().tableTypes(); }, "01",
         "tabl_type_code", QStringLiteral("[房台类型]正在被设置使用，所以不能被修改！"),
         QStringLiteral("[房台类型]正在被设置使用，所以不能被删除！")},
        {"mode of a type", "", [&]() -> MaintenanceList& { return lists().modes(); }, "01", "cons_mode_code",
         QStringLiteral("[消费类型]正在被使用，不能被修改!"),
         QStringLiteral("[消费类型]正在被使用，不能被删除!")},
        {"mode of an open bill",
         "INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, cons_mode_code) VALUES (8, '101', "
         "'09')",
         [&]() -> MaintenanceList& { return lists().modes(); }, "09", "cons_mode_code",
         QStringLiteral("[消费类型]正在被[前台操作]使用，不能被使用!"),
         QStringLiteral("[消费类型]正在被[前台操作]使用，不能被删除!")},
    };
    for (const Case& c : cases) {
        reopen();
        MaintenanceList& list = c.list();
        ASSERT_TRUE(list.moveToKey(c.key)) << c.what;
        if (*c.use) scratch().connectAgain()->exec(c.use);
        sink.shown.clear();
        list.edit(c.column, "77");
        EXPECT_FALSE(list.save()) << c.what;
        list.cancel();
        EXPECT_FALSE(list.remove()) << c.what;
        EXPECT_EQ(shown(), (QStringList{c.change, c.remove})) << c.what;
        EXPECT_EQ(
            db().scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?").arg(list.table(), c.column),
                        {c.key})
                .toInt(),
            1)
            << c.what;
    }
}

TEST_P(RoomSetupTest, ARecordMissingWhatItNeedsIsRefusedWithItsListsMessage) {
    struct Case {
        std::function<MaintenanceList&()> list;
        QVariantMap typed;
        QString refusal; // empty: saved
    } cases[] = {
        {[&]() -> MaintenanceList& { return lists().departments(); },
         {{"dept_code", "03"}},
         QStringLiteral("部门[编号]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().departments(); },
         {{"dept_code", "03"}, {"dept_name", "二楼"}},
         {}},
        {[&]() -> MaintenanceList& { return lists().tableTypes(); },
         {{"tabl_type_code", "03"}, {"tabl_type_name", "包厢"}},
         QStringLiteral("房台类型[编号]、[名称]、[类型]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().tables(); },
         {{"tabl_code", "102"}, {"tabl_name", "二号桌"}},
         QStringLiteral("房台[编号]、[名称]、[类型]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().tables(); },
         {{"tabl_code", "102"}, {"tabl_name", "二号桌"}, {"tabl_type_code", "01"}},
         {}},
        {[&]() -> MaintenanceList& { return lists().modes(); },
         {{"cons_mode_code", "10"}, {"cons_mode_name", "包日"}},
         QStringLiteral("消费方式[编码]、[名称]、[消费类型]不能为空！")},
    };
    ASSERT_TRUE(lists().departments().moveToKey("01"));
    for (const Case& c : cases) {
        sink.shown.clear();
        MaintenanceList& list = c.list();
        ASSERT_TRUE(list.append());
        for (auto it = c.typed.begin(); it != c.typed.end(); ++it)
            list.edit(it.key(), it.value());
        EXPECT_EQ(list.save(), c.refusal.isEmpty()) << list.table().toStdString();
        EXPECT_EQ(shown(), c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal});
        list.cancel();
    }
    // The new table is free, flagged blank and in the department current when it was made: the
    // one saved just before.
    const RecordSet t =
        db().query("SELECT tabl_stat_code, tabl_rema, dept_code FROM TableList WHERE tabl_code = '102'");
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.text(0, "tabl_stat_code"), "1");
    EXPECT_EQ(t.text(0, "tabl_rema"), " ");
    EXPECT_EQ(t.text(0, "dept_code"), "03");
}

TEST_P(RoomSetupTest, DuplicatesQuotesAndOverlongInputKeepTheProgramRunning) {
    MaintenanceList& modes = lists().modes();
    ASSERT_TRUE(modes.append());
    modes.edit("cons_mode_code", "09");
    modes.edit("cons_mode_name", "重复");
    modes.edit("cons_type_code", "2");
    EXPECT_FALSE(modes.save());
    EXPECT_EQ(shown(), QStringList{QStringLiteral("编号有重复，请从新输入！")});
    modes.cancel();

    // A quote is part of the name; a name longer than the column is cut to what it holds.
    ASSERT_TRUE(modes.moveToKey("01"));
    modes.edit("cons_mode_name", "Joe's 散台 with a name far longer than twenty-four");
    EXPECT_TRUE(modes.save());
    EXPECT_EQ(db().scalar("SELECT cons_mode_name FROM ConsModeList WHERE cons_mode_code = '01'").toString(),
              QStringLiteral("Joe's 散台 with a name far"));
    // A rate beyond what the column holds is a mistyped number, answered and survived.
    EXPECT_THROW(modes.edit("cons_mode_serv", "40000"), InvalidInput);
    EXPECT_TRUE(modes.edit("cons_mode_achi", "40000"));
    EXPECT_TRUE(modes.save());
}

TEST_P(RoomSetupTest, AddingATableWithoutADepartmentAddsNothing) {
    db().exec("DELETE FROM TableList");
    db().exec("DELETE FROM DepartmentList");
    reopen();
    EXPECT_FALSE(lists().tables().append());
    EXPECT_TRUE(lists().tables().isEmpty());
    EXPECT_EQ(db().scalar("SELECT count(*) FROM TableList").toInt(), 0);
}

TEST_P(RoomSetupTest, TheFrontDesksLiveColumnsSurviveABackOfficeRenameAndAnOpeningStopsADelete) {
    ASSERT_TRUE(lists().departments().moveToKey("01"));
    MaintenanceList& tables = lists().tables();
    ASSERT_TRUE(tables.moveToKey("101"));
    auto desk = scratch().connectAgain();
    openGuest(*desk, "101");
    tables.edit("tabl_name", "窗边一号");
    EXPECT_TRUE(tables.save());
    const RecordSet t = db().query("SELECT tabl_name, tabl_stat_code, tabl_gues_auto_recn FROM TableList");
    EXPECT_EQ(t.text(0, "tabl_name"), QStringLiteral("窗边一号"));
    EXPECT_EQ(t.text(0, "tabl_stat_code"), "2");
    EXPECT_EQ(t.value(0, "tabl_gues_auto_recn").toInt(), 7);
    EXPECT_FALSE(tables.remove());
    EXPECT_EQ(db().scalar("SELECT count(*) FROM TableList").toInt(), 1);
}

SORREL_ON_EVERY_ENGINE(RoomSetupTest);

} // namespace
