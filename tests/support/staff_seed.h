// A small staff and settings set-up for login, permission and business-day tests: two shifts,
// three operators on two levels, and a settings row the test then shapes.
#pragma once

#include "common/db/database.h"

namespace sorrel::test {

inline void seedStaffAndSettings(Database& db) {
    for (const char* table : {"SetupPay", "operatorlist", "OrderList", "Limitedlist", "managertype"})
        db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    db.exec(QStringLiteral(
        "INSERT INTO SetupPay (user_name, user_name_s, user_name_e, user_tele, oper_code, "
        "mana_code, orde_code, time_work, time_star, time_end, pay_star, work_auto, auto_recn) "
        "VALUES ('岚舟茶餐厅', '岚舟', 'LANZHOU', '0571-1234567', '', '', '1', "
        "'2026-03-04 00:00:00', '2026-03-04 09:00:00', '2026-03-03 23:30:00', 1, 0, 1)"));
    db.exec(QStringLiteral("INSERT INTO managertype (mana_code, mana_name) VALUES ('01', '系统管理员'), "
                           "('02', '收银员')"));
    db.exec(QStringLiteral("INSERT INTO operatorlist (oper_code, oper_name, oper_pass, mana_code) VALUES "
                           "('01', '管理员', '1234', '01'), ('02', '收银员', '2222', '02'), "
                           "('03', 'O''Hara', '9%9', '02')"));
    db.exec(
        QStringLiteral("INSERT INTO OrderList (orde_code, orde_name) VALUES ('1', '早班'), ('2', '晚班')"));
    db.exec(QStringLiteral("INSERT INTO Limitedlist (mana_code, limi_code, limi_name, limi_real) VALUES "
                           "('01', 'BE', '日始日结', 1), ('01', 'PS', '系统设置', 1), "
                           "('02', 'BE', '日始日结', 1), ('02', 'PS', '系统设置', 0)"));
}

// The system log's action texts in the order they were written.
inline QStringList logTexts(Database& db) {
    const RecordSet rs = db.query(QStringLiteral("SELECT log_oper FROM systemlog ORDER BY log_time"));
    QStringList texts;
    for (int i = 0; i < rs.rowCount(); ++i)
        texts << rs.text(i, "log_oper");
    return texts;
}

} // namespace sorrel::test
