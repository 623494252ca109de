#include "backoffice/rooms/room_lists.h"

#include "backoffice/rooms/price_bands.h"

namespace sorrel::rooms {

namespace {

lists::ListDefinition departmentList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("DepartmentList");
    d.key = QStringLiteral("dept_code");
    d.edited = {"dept_code", "dept_name"};
    d.defaults = {{"dept_rema", QStringLiteral(" ")}};
    d.saveChecks = {
        lists::requireFilled({"dept_code", "dept_name"}, QStringLiteral("部门[编号]、[名称]不能为空！"))};
    const lists::Reference hasTable = lists::referencedIn("TableList", "dept_code");
    lists::refuseWhileReferenced(d, "dept_code", hasTable, QStringLiteral("[部门]下面设有[房台]"), lists::kSeriesTitle);
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition tableTypeList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("TableTypeList");
    d.key = QStringLiteral("tabl_type_code");
    d.edited = {"tabl_type_code", "tabl_type_name", "tabl_type_narr", "cons_mode_code"};
    d.defaults = {{"tabl_type_rema", QStringLiteral(" ")}};
    const lists::Reference usedByTable = lists::referencedIn("TableList", "tabl_type_code");
    // A type without a mode would open its tables with nothing to charge them by.
    d.saveChecks = {
        lists::requireFilled({"tabl_type_code", "tabl_type_name", "cons_mode_code"},
                             QStringLiteral("房台类型[编号]、[名称]、[类型]不能为空！")),
        lists::refuseChangeWhile("tabl_type_code", usedByTable,
                                 QStringLiteral("[房台类型]正在被设置使用，所以不能被修改！")),
    };
    d.deleteChecks = {lists::refuseWhile("tabl_type_code", usedByTable,
                                         QStringLiteral("[房台类型]正在被设置使用，所以不能被删除！"))};
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition tableList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("TableList");
    d.key = QStringLiteral("tabl_code");
    d.masterColumn = QStringLiteral("dept_code");
    // Never the live columns: the front desk writes the state and the guest's copies meanwhile.
    d.edited = {"tabl_code", "tabl_name", "tabl_narr", "tabl_type_code"};
    d.defaults = {{"tabl_rema", QStringLiteral(" ")}, {"tabl_stat_code", QStringLiteral("1")}};
    d.saveChecks = {lists::requireFilled({"tabl_code", "tabl_name", "tabl_type_code"},
                                         QStringLiteral("房台[编号]、[名称]、[类型]不能为空！"))};
    // A guest record or a booking names the table by its code: either would lose its table.
    const QString atTheDesk = QStringLiteral("此[台桌]现在正在被[前台操作]使用，不能被");
    for (const lists::Reference& use :
         {lists::referencedIn("TableGuestlist", "tabl_code"), lists::referencedIn("bookin", "tabl_code")}) {
        d.saveChecks << lists::refuseChangeWhile("tabl_code", use, atTheDesk + QStringLiteral("修改!"));
        d.deleteChecks << lists::refuseWhile("tabl_code", use, atTheDesk + QStringLiteral("删除!"));
    }
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition modeList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("ConsModeList");
    d.key = QStringLiteral("cons_mode_code");
    d.edited = {"cons_mode_code",      "cons_mode_name",      "cons_type_code",      "cons_mode_mone",
                "cons_mode_serv",      "cons_mode_achi",      "cons_mode_pred_stan", "cons_mode_pred_abov",
                "cons_mode_spec_stan", "cons_mode_spec_abov", "cons_mode_lead_stan", "cons_mode_lead_abov"};
    d.defaults = {{"cons_mode_rema", QStringLiteral(" ")}};
    const lists::Reference usedByType = lists::referencedIn("TableTypeList", "cons_mode_code");
    const lists::Reference usedByGuest = lists::referencedIn("TableGuestlist", "cons_mode_code");
    d.saveChecks = {
        lists::requireFilled({"cons_mode_code", "cons_mode_name", "cons_type_code"},
                             QStringLiteral("消费方式[编码]、[名称]、[消费类型]不能为空！")),
        lists::refuseChangeWhile("cons_mode_code", usedByType,
                                 QStringLiteral("[消费类型]正在被使用，不能被修改!")),
        lists::refuseChangeWhile("cons_mode_code", usedByGuest,
                                 QStringLiteral("[消费类型]正在被[前台操作]使用，不能被使用!")),
    };
    d.deleteChecks = {
        lists::refuseWhile("cons_mode_code", usedByType, QStringLiteral("[消费类型]正在被使用，不能被删除!")),
        lists::refuseWhile("cons_mode_code", usedByGuest,
                           QStringLiteral("[消费类型]正在被[前台操作]使用，不能被删除!")),
    };
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    d.alsoSave = bandsFollowMode;
    d.alsoDelete = bandsGoWithMode;
    return d;
}

} // namespace

RoomLists::RoomLists(Database& db) : db_(db) {
    departments_ = std::make_unique<lists::MaintenanceList>(db, departmentList());
    types_ = std::make_unique<lists::MaintenanceList>(db, tableTypeList());
    tables_ = std::make_unique<lists::MaintenanceList>(db, tableList());
    modes_ = std::make_unique<lists::MaintenanceList>(db, modeList());
    bands_ = std::make_unique<lists::MaintenanceList>(db, bandList());
    tables_->follow(*departments_);
    bands_->follow(*modes_);
    types_->reload();
    departments_->reload();
    modes_->reload();
}

RoomLists::~RoomLists() = default;

lists::Choices RoomLists::modeChoices() const {
    return lists::readChoices(
        db_, QStringLiteral("SELECT cons_mode_code, cons_mode_name FROM ConsModeList ORDER BY "
                            "cons_mode_code"));
}

lists::Choices RoomLists::tableTypeChoices() const {
    return lists::readChoices(
        db_, QStringLiteral("SELECT tabl_type_code, tabl_type_name FROM TableTypeList ORDER BY "
                            "tabl_type_code"));
}

lists::Choices RoomLists::consumptionTypeChoices() const {
    return lists::readChoices(
        db_, QStringLiteral("SELECT cons_type_code, cons_type_name FROM ConsTypeList ORDER BY "
                            "cons_type_code"));
}

} // namespace sorrel::rooms
