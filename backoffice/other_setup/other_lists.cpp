#include "backoffice/other_setup/other_lists.h"

namespace sorrel::other_setup {

namespace {

// A plain list of code and name: the record flag blank, both required, a duplicate code refused.
lists::ListDefinition codeList(const QString& table, const QString& prefix, const QString& required) {
    const QString code = prefix + QStringLiteral("_code");
    const QString name = prefix + QStringLiteral("_name");
    lists::ListDefinition d;
    d.table = table;
    d.key = code;
    d.edited = {code, name};
    d.defaults = {{prefix + QStringLiteral("_rema"), QStringLiteral(" ")}};
    d.saveChecks = {lists::requireFilled({code, name}, required)};
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

// Whether the database as it is now counts rows for the stored record's code (bound at every
// place the statement asks for it).
lists::Reference holds(const QString& sql) {
    return [sql](Database& db, const QVariant& code) {
        return db.scalar(sql, QVariantList(sql.count(QLatin1Char('?')), code)).toLongLong() > 0;
    };
}

lists::ListDefinition paymentMethodList() {
    lists::ListDefinition d =
        codeList("PayTypeList", "pay_type", QStringLiteral("付款方式[编号]、[名称]不能为空！"));
    d.defaults.insert("pay_type_mone", 0.0);
    d.defaults.insert("pay_star_mone", 0.0);
    for (const QString& preset : kPresetPaymentMethods) {
        d.guards << lists::CodeGuard{
            "pay_type_code",
            lists::refusePreset("pay_type_code", preset, "pay_type_name", lists::kPresetChangeMessage)};
        d.deleteChecks << lists::refusePreset("pay_type_code", preset, "pay_type_name",
                                              lists::kPresetDeleteMessage);
    }
    // The shift handover totals a method's float and its payments by code: a method that has
    // either would drop out of the handover, and the money with it.
    const lists::Reference hasFloat = holds(
        QStringLiteral("SELECT count(*) FROM PayTypeList WHERE pay_type_code = ? AND pay_star_mone <> 0"));
    const lists::Reference unhanded = holds(
        QStringLiteral("SELECT (SELECT count(*) FROM AllGuesPay WHERE pay_type_code = ? AND pay_flag = 0 "
                       "AND pay_type_mone <> 0) + (SELECT count(*) FROM tableguespay WHERE "
                       "pay_type_code = ? AND pay_type_mone <> 0)"));
    struct Use {
        lists::Reference reference;
        QString what;
    };
    for (const Use& use : {Use{hasFloat, QStringLiteral("[付款方式]设有[初始金额]，所以不能被")},
                           Use{unhanded, QStringLiteral("[付款方式]有未交班的收款，所以不能被")}}) {
        d.guards << lists::CodeGuard{
            "pay_type_code",
            lists::refuseWhile("pay_type_code", use.reference, use.what + QStringLiteral("修改！"))};
        d.deleteChecks << lists::refuseWhile("pay_type_code", use.reference,
                                             use.what + QStringLiteral("删除！"));
    }
    return d;
}

lists::ListDefinition otherIncomeList() {
    lists::ListDefinition d =
        codeList("OtherIncomeList", "othe_inco", QStringLiteral("其它收入[编号]、[名称]不能为空！"));
    d.defaults.insert("othe_inco_mone", 0.0);
    // Day end archives today's amount from this row: deleting it would lose the amount.
    d.deleteChecks = {lists::refuseWhile(
        "othe_inco_code",
        holds(QStringLiteral(
            "SELECT count(*) FROM OtherIncomeList WHERE othe_inco_code = ? AND othe_inco_mone <> 0")),
        QStringLiteral("[其它收入]今日已有金额，所以不能被删除！"))};
    return d;
}

lists::ListDefinition unitList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("UnitList");
    d.key = QStringLiteral("unit_name");
    d.edited = {"unit_name"};
    d.defaults = {{"unit_rema", QStringLiteral(" ")}};
    d.saveChecks = {lists::requireFilled({"unit_name"}, QStringLiteral("单位[名称]不能为空！"))};
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

} // namespace

OtherLists::OtherLists(Database& db) {
    shifts_ = std::make_unique<lists::MaintenanceList>(
        db, codeList("OrderList", "orde", QStringLiteral("班次[编号]、[名称]不能为空！")));
    payments_ = std::make_unique<lists::MaintenanceList>(db, paymentMethodList());
    income_ = std::make_unique<lists::MaintenanceList>(db, otherIncomeList());
    notes_ = std::make_unique<lists::MaintenanceList>(
        db, codeList("ConsNarrList", "cons_narr", QStringLiteral("消费项目说明[编号]、[名称]不能为空！")));
    units_ = std::make_unique<lists::MaintenanceList>(db, unitList());
    for (lists::MaintenanceList* list :
         {shifts_.get(), payments_.get(), income_.get(), notes_.get(), units_.get()})
        list->reload();
}

OtherLists::~OtherLists() = default;

} // namespace sorrel::other_setup
