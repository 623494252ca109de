#include "common/settings_row.h"

#include "common/db/errors.h"
#include "common/db_datetime.h"

namespace sorrel {

SettingsRow loadSettingsRow(Database& db) {
    const RecordSet rs = db.query(QStringLiteral(
        "SELECT oper_code, mana_code, orde_code, user_name, user_name_s, user_name_e, user_tele, time_work, "
        "time_star, time_end, pay_star, work_auto, work_back FROM SetupPay"));
    if (rs.isEmpty()) throw DbError(QStringLiteral("数据库缺少系统设置记录(SetupPay)"));
    const auto r = rs.row(0);
    SettingsRow s;
    s.operCode = r.text("oper_code");
    s.manaCode = r.text("mana_code");
    s.ordeCode = r.text("orde_code");
    s.userName = r.text("user_name");
    s.userNameS = r.text("user_name_s");
    s.userNameE = r.text("user_name_e");
    s.userTele = r.text("user_tele");
    s.timeWork = fromDbDateTime(r.value("time_work"));
    s.timeStar = fromDbDateTime(r.value("time_star"));
    s.timeEnd = fromDbDateTime(r.value("time_end"));
    s.payStar = r.flag("pay_star");
    s.workAuto = r.flag("work_auto");
    s.workBack = r.flag("work_back");
    return s;
}

BusinessIdentity businessIdentity(const SettingsRow& row) {
    return {QStringLiteral("【") + row.userName + QStringLiteral("】"), row.userNameS, row.userNameE,
            row.userName + QStringLiteral(" 电话：") + row.userTele};
}

} // namespace sorrel
