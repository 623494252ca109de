#include "backoffice/staff/staff_lists.h"

namespace sorrel::staff {

namespace {

lists::ListDefinition levelList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("managertype");
    d.key = QStringLiteral("mana_code");
    d.edited = {"mana_code", "mana_name"};
    d.defaults = {{"mana_rema", QStringLiteral(" ")}};
    d.saveChecks = {
        lists::requireFilled({"mana_code", "mana_name"}, QStringLiteral("员工级别[编码]、[名称]不能为空！"))};
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    // The level is written first: a level refused as a duplicate leaves no rows behind. A new
    // level starts with one row per function of the catalogue, none granted; a re-coded level
    // takes its rights, its operators and the level the settings row names along.
    d.alsoSave = [](Database& db, const lists::EditedRecord& r) {
        if (r.isNew()) {
            db.exec(QStringLiteral("INSERT INTO Limitedlist (mana_code, limi_code, limi_name, limi_real) "
                                   "SELECT ?, limi_code, limi_name, 0 FROM limitedtemp"),
                    {r.value("mana_code")});
            return;
        }
        if (!r.changed("mana_code")) return;
        for (const char* table : {"Limitedlist", "operatorlist", "SetupPay"})
            db.exec(
                QStringLiteral("UPDATE %1 SET mana_code = ? WHERE mana_code = ?").arg(QLatin1String(table)),
                {r.value("mana_code"), r.original("mana_code")});
    };
    // Its operators keep the code and pass no check from now on.
    d.alsoDelete = [](Database& db, const lists::EditedRecord& r) {
        db.exec(QStringLiteral("DELETE FROM Limitedlist WHERE mana_code = ?"), {r.original("mana_code")});
    };
    return d;
}

lists::ListDefinition permissionList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("Limitedlist");
    d.key = QStringLiteral("limi_ID");
    d.keyIsAutoNumber = true;
    d.masterColumn = QStringLiteral("mana_code");
    d.orderBy = QStringLiteral("limi_code");
    d.edited = {"limi_real"};
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition operatorList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("operatorlist");
    d.key = QStringLiteral("oper_code");
    d.masterColumn = QStringLiteral("mana_code");
    d.edited = {"oper_code", "oper_name", "oper_pass", "oper_rema"};
    // The login trims what is typed: a blank stored around a code or password would lock the
    // operator out.
    d.trimmed = {"oper_code", "oper_name", "oper_pass"};
    d.saveChecks = {lists::requireFilled({"oper_code", "oper_name", "oper_pass"},
                                         QStringLiteral("员工[编码]、[名称]、[密码]不能为空！"))};
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition areaList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("AreaList");
    d.key = QStringLiteral("area_code");
    d.edited = {"area_code", "area_name"};
    d.defaults = {{"area_rema", QStringLiteral(" ")}};
    d.saveChecks = {
        lists::requireFilled({"area_code", "area_name"}, QStringLiteral("分区[编码]、[名称]不能为空！"))};
    // Groups name their area by code: no screen would reach a group left without it.
    const lists::Reference hasGroup = lists::referencedIn("Grouplist", "area_code");
    lists::refuseWhileReferenced(d, "area_code", hasGroup, QStringLiteral("[分区]下面设有[分组]"), lists::kSeriesTitle);
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition groupList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("Grouplist");
    d.key = QStringLiteral("grou_code");
    d.masterColumn = QStringLiteral("area_code");
    d.edited = {"grou_code", "grou_name", "grou_ream"};
    d.saveChecks = {
        lists::requireFilled({"grou_code", "grou_name"}, QStringLiteral("分组[编码]、[名称]不能为空！"))};
    const lists::Reference hasStaff = lists::referencedIn("deduoperatorlist", "grou_code");
    lists::refuseWhileReferenced(d, "grou_code", hasStaff, QStringLiteral("[分组]下面设有[提成员工]"), lists::kSeriesTitle);
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition commissionList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("deduoperatorlist");
    d.key = QStringLiteral("dedu_oper_code");
    d.masterColumn = QStringLiteral("grou_code");
    d.edited = {"dedu_oper_code", "dedu_oper_name", "dedu_oper_stan", "dedu_oper_rema"};
    d.saveChecks = {lists::requireFilled({"dedu_oper_code", "dedu_oper_name"},
                                         QStringLiteral("提成员工[编码]、[名称]不能为空！"))};
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

} // namespace

StaffLists::StaffLists(Database& db) : db_(db) {
    levels_ = std::make_unique<lists::MaintenanceList>(db, levelList());
    permissions_ = std::make_unique<lists::MaintenanceList>(db, permissionList());
    operators_ = std::make_unique<lists::MaintenanceList>(db, operatorList());
    areas_ = std::make_unique<lists::MaintenanceList>(db, areaList());
    groups_ = std::make_unique<lists::MaintenanceList>(db, groupList());
    commission_ = std::make_unique<lists::MaintenanceList>(db, commissionList());
    permissions_->follow(*levels_);
    operators_->follow(*levels_);
    groups_->follow(*areas_);
    commission_->follow(*groups_);
    levels_->reload();
    areas_->reload();
}

StaffLists::~StaffLists() = default;

bool StaffLists::togglePermission() {
    lists::MaintenanceList& p = *permissions_;
    if (p.current() < 0) return false;
    const bool granted = p.value(QStringLiteral("limi_real")).toLongLong() != 0;
    return p.edit(QStringLiteral("limi_real"), !granted) && p.save();
}

void StaffLists::setAllPermissions(bool granted) {
    const QVariant level = levels_->storedValue(QStringLiteral("mana_code"));
    if (level.isNull() || levels_->state() == lists::MaintenanceList::State::Inserting) return;
    permissions_->cancel();
    db_.exec(QStringLiteral("UPDATE Limitedlist SET limi_real = ? WHERE mana_code = ?"),
             {granted ? 1 : 0, level});
    permissions_->reload();
}

} // namespace sorrel::staff
