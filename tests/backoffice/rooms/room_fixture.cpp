#include "tests/backoffice/rooms/room_fixture.h"

#include "common/db_datetime.h"

namespace sorrel::test {

void RoomTest::SetUp() {
    EngineTest::SetUp();
    db().exec("INSERT INTO DepartmentList (dept_code, dept_name, dept_rema) VALUES ('01', '大厅', ' '), "
              "('02', '包厢', ' ')");
    db().exec(
        "INSERT INTO ConsModeList (cons_mode_code, cons_mode_name, cons_type_code, cons_mode_rema) VALUES "
        "('01', '散台', '1', ' '), ('09', '分时段', '9', ' ')");
    db().exec(
        "INSERT INTO TableTypeList (tabl_type_code, tabl_type_name, tabl_type_rema, cons_mode_code) VALUES "
        "('01', '散台', ' ', '01')");
    db().exec(
        "INSERT INTO TableList (tabl_code, tabl_name, tabl_type_code, dept_code, tabl_stat_code, tabl_rema) "
        "VALUES ('101', '一号桌', '01', '01', '1', ' ')");
    reopen();
}

void RoomTest::TearDown() {
    lists_.reset();
    EngineTest::TearDown();
}

void RoomTest::reopen() {
    lists_.reset();
    lists_ = std::make_unique<rooms::RoomLists>(db());
}

void RoomTest::openGuest(Database& desk, const QString& table, const QString& mode) {
    desk.exec("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, cons_mode_code) VALUES (7, ?, ?)",
              {table, mode});
    desk.exec("UPDATE TableList SET tabl_stat_code = '2', tabl_gues_auto_recn = 7 WHERE tabl_code = ?",
              {table});
}

QStringList RoomTest::bandsOf(const QString& mode) {
    const RecordSet rs = db().query("SELECT cons_time_star, cons_time_end FROM ConsTimeMode WHERE "
                                    "cons_mode_code = ? ORDER BY cons_time_code",
                                    {mode});
    QStringList bands;
    for (int i = 0; i < rs.rowCount(); ++i)
        bands << fromDbDateTime(rs.value(i, 0)).toString("hh:mm:ss") + "-" +
                     fromDbDateTime(rs.value(i, 1)).toString("hh:mm:ss");
    return bands;
}

} // namespace sorrel::test
