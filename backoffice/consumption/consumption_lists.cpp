#include "backoffice/consumption/consumption_lists.h"

#include "backoffice/consumption/item_components.h"
#include "common/money.h"

namespace sorrel::consumption {

namespace {

// The box that carries the shop's title rather than the back office's.
const QString kShopTitle = QStringLiteral("岚舟招牌管理系列");

// A number column above a limit ("默认成本率不能大于100%！").
lists::Check refuseAbove(const QString& column, double limit, const QString& message) {
    return [=](Database&, const lists::EditedRecord& r) -> lists::Verdict {
        if (!r.blank(column) && r.number(column) > limit) return lists::Refusal{message, {}};
        return std::nullopt;
    };
}

// The places an item's code is used while it is being sold, staged, stocked or built into
// another item: none of them may lose the item under them.
struct ItemUse {
    lists::Reference reference;
    QString changeMessage;
    QString deleteMessage;
};
QList<ItemUse> itemUses() {
    const QString atTheDesk = QStringLiteral("此[项目]现在正在被[前台操作]使用，不能被");
    return {
        {lists::referencedIn("ItemGroup", "grou_code"),
         QStringLiteral("[套餐/合成]中下设置有项目，不能被修改!"),
         QStringLiteral("[套餐/合成]中下设置有项目，不能被删除!")},
        {lists::referencedIn("ItemGroup", "item_code"),
         QStringLiteral("此[项目]包含在套餐/合成中，不能被修改!"),
         QStringLiteral("此[项目]包含在套餐/合成中，不能被删除!")},
        {lists::referencedIn("TableConsList", "item_code"), atTheDesk + QStringLiteral("修改!"),
         atTheDesk + QStringLiteral("删除!")},
        {lists::referencedIn("TableConsListTemp", "item_code"), atTheDesk + QStringLiteral("修改!"),
         atTheDesk + QStringLiteral("删除!")},
        {lists::referencedIn("StoreDetail", "item_code"),
         QStringLiteral("此[项目]在未过帐的[库存单据]中，不能被修改!"),
         QStringLiteral("此[项目]在未过帐的[库存单据]中，不能被删除!")},
    };
}

} // namespace

ConsumptionLists::ConsumptionLists(Database& db) : db_(db) {
    kinds_ = std::make_unique<lists::MaintenanceList>(db, kindList());
    classes_ = std::make_unique<lists::MaintenanceList>(db, classList());
    items_ = std::make_unique<lists::MaintenanceList>(db, itemList());
    outputs_ = std::make_unique<lists::MaintenanceList>(db, outputPointList());
    schemes_ = std::make_unique<lists::MaintenanceList>(db, schemeList());
    rates_ = std::make_unique<lists::MaintenanceList>(db, rateList());
    components_ = std::make_unique<lists::MaintenanceList>(db, componentList());
    classes_->follow(*kinds_);
    items_->follow(*classes_);
    components_->follow(*items_);
    rates_->follow(*schemes_);
    outputs_->reload();
    schemes_->reload();
    kinds_->reload();
}

ConsumptionLists::~ConsumptionLists() = default;

lists::ListDefinition ConsumptionLists::kindList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("kindlist");
    d.key = QStringLiteral("kind_code");
    d.edited = {"kind_code", "kind_name"};
    d.defaults = {{"kind_rema", QStringLiteral(" ")}};
    d.saveChecks = {
        lists::requireFilled({"kind_code", "kind_name"}, QStringLiteral("大类[编码]、[名称]不能为空！"))};
    const lists::Reference hasClass = lists::referencedIn("classlist", "kind_code");
    lists::refuseWhileReferenced(d, "kind_code", hasClass, QStringLiteral("[大类]下面设有[分类]"), kShopTitle);
    d.guards.append({"kind_code", lists::refusePreset("kind_code", kIngredientKind, "kind_name",
                                                      lists::kPresetChangeMessage, lists::kSeriesTitle)});
    d.deleteChecks.append(
        lists::refusePreset("kind_code", kIngredientKind, "kind_name", lists::kPresetDeleteMessage));
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition ConsumptionLists::outputPointList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("ManuFacturelist");
    d.key = QStringLiteral("manu_code");
    d.edited = {"manu_code", "manu_name"};
    d.defaults = {{"manu_rema", QStringLiteral(" ")}};
    const lists::Reference usedByClass = lists::referencedIn("classlist", "manu_code");
    d.saveChecks = {
        lists::requireFilled({"manu_code", "manu_name"}, QStringLiteral("出品类型[编码]、[名称]不能为空！")),
        lists::refuseChangeWhile("manu_code", usedByClass,
                                 QStringLiteral("[出品类型]正在被设置使用，所以不能被修改！")),
    };
    d.guards = {{"manu_code", lists::refusePreset("manu_code", kPresetOutputPoint, "manu_name",
                                                  lists::kPresetChangeMessage, lists::kSeriesTitle)}};
    d.deleteChecks = {
        lists::refuseWhile("manu_code", usedByClass,
                           QStringLiteral("[出品类型]正在被设置使用，所以不能被删除！")),
        lists::refusePreset("manu_code", kPresetOutputPoint, "manu_name", lists::kPresetDeleteMessage),
    };
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition ConsumptionLists::classList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("classlist");
    d.key = QStringLiteral("clas_code");
    d.masterColumn = QStringLiteral("kind_code");
    d.edited = {"clas_code",      "clas_name",      "clas_cost_perc", "manu_code",
                "clas_allo_disc", "clas_allo_serv", "clas_allo_spec"};
    d.defaults = {{"manu_code", kPresetOutputPoint},
                  {"clas_allo_disc", 0},
                  {"clas_allo_serv", 0},
                  {"clas_allo_spec", 0}};
    d.saveChecks = {
        lists::requireFilled({"clas_code", "clas_name"}, QStringLiteral("分类[编码]、[名称]不能为空！")),
        refuseAbove("clas_cost_perc", 100, QStringLiteral("默认成本率不能大于100%！")),
    };
    const lists::Reference hasItem = lists::referencedIn("itemlist", "clas_code");
    const lists::Reference inScheme = lists::referencedIn("DiscItem", "clas_code");
    lists::refuseWhileReferenced(d, "clas_code", hasItem, QStringLiteral("[分类]下面设有[项目]"),
                                 lists::kSeriesTitle);
    // A scheme's rate names the class by its code: re-coding would leave the rate behind.
    d.guards.append({"clas_code", lists::refuseWhile("clas_code", inScheme,
                                                     QStringLiteral("[折扣方案]中包含此[分类]，不能被修改!"))});
    d.deleteChecks.append(
        lists::refuseWhile("clas_code", inScheme, QStringLiteral("[折扣方案]中包含此[分类]，不能被删除!")));
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition ConsumptionLists::itemList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("itemlist");
    d.key = QStringLiteral("item_code");
    d.masterColumn = QStringLiteral("clas_code");
    // Never the stock or its rule: the front desk moves the stock while the manager edits, and
    // the rule belongs to the stock panel.
    d.edited = {"item_code",      "item_name", "item_unit",      "item_unit_pric", "item_cost_pric",
                "item_dedu_pric", "item_shor", "item_type_code", "item_real"};
    d.defaults = {{"item_real", 0}, {"item_coun", 0.0}, {"item_limi", QStringLiteral("不限")}};
    d.computedDefaults = [this](QVariantMap& defaults) {
        defaults.insert("item_type_code", currentKind() == kIngredientKind ? kIngredient : kSingleItem);
    };
    d.saveChecks = {
        lists::requireFilled({"item_code", "item_name", "item_type_code"},
                             QStringLiteral("项目[编号]、[名称]、[单价]、[成本]、[类型]不能为空！"),
                             {"item_unit_pric"}),
        [](Database&, const lists::EditedRecord& r) -> lists::Verdict {
            if (compareMoney(r.number("item_cost_pric"), r.number("item_unit_pric")) > 0)
                return lists::Refusal{QStringLiteral("[成本]不能大于[单价]！"), {}};
            return std::nullopt;
        },
        [](Database&, const lists::EditedRecord& r) -> lists::Verdict {
            const double profit = r.number("item_unit_pric") - r.number("item_cost_pric");
            if (compareMoney(r.number("item_dedu_pric"), profit) > 0)
                return lists::Refusal{QStringLiteral("[提成]不能大于利润！"), {}};
            return std::nullopt;
        },
    };
    for (const ItemUse& use : itemUses()) {
        d.saveChecks << lists::refuseChangeWhile("item_code", use.reference, use.changeMessage);
        d.deleteChecks << lists::refuseWhile("item_code", use.reference, use.deleteMessage);
    }
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    d.afterEdit = [this](lists::MaintenanceList& items, const QString& column) {
        costFromClassRate(items, column);
    };
    return d;
}

lists::ListDefinition ConsumptionLists::schemeList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("discountlist");
    d.key = QStringLiteral("disc_code");
    d.edited = {"disc_code", "disc_name", "disc_narr"};
    d.defaults = {{"disc_rema", QStringLiteral(" ")}};
    const lists::Reference hasRates = lists::referencedIn("DiscItem", "disc_code");
    d.saveChecks = {
        lists::requireFilled({"disc_code", "disc_name"}, QStringLiteral("折扣方案[编码]、[名称]不能为空！")),
        lists::refuseChangeWhile("disc_code", hasRates,
                                 QStringLiteral("[折扣方案]中下设置有项目，不能被修改!")),
    };
    d.deleteChecks = {
        lists::refuseWhile("disc_code", hasRates, QStringLiteral("[折扣方案]中下设置有项目，不能被删除!"))};
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition ConsumptionLists::rateList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("DiscItem");
    d.key = QStringLiteral("disc_ID");
    d.keyIsAutoNumber = true;
    d.masterColumn = QStringLiteral("disc_code");
    d.edited = {"disc_clas_perc"};
    // A rate above 100 would charge more than the price; a blank one would charge nothing.
    d.saveChecks = {lists::requireFilled({"disc_clas_perc"}, QStringLiteral("折扣率不能为空！")),
                    refuseAbove("disc_clas_perc", 100, QStringLiteral("折扣率不能大于100%！"))};
    return d;
}

lists::ListDefinition ConsumptionLists::componentList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("ItemGroup");
    d.key = QStringLiteral("grou_ID");
    d.keyIsAutoNumber = true;
    d.masterColumn = QStringLiteral("grou_code");
    // The editor shows the direct components; the rows a composite brings into a set meal follow.
    d.fixedCondition = QStringLiteral("COALESCE(grou_mix_code, '') = ''");
    d.edited = {"grou_coun"};
    // A composite taken out of a set meal takes the rows it brought in with it.
    d.alsoDelete = [](Database& db, const lists::EditedRecord& r) {
        db.exec(QStringLiteral("DELETE FROM ItemGroup WHERE grou_code = ? AND grou_mix_code = ?"),
                {r.original("grou_code"), r.original("item_code")});
    };
    d.leaveStep = [this] { leaveComponents(*this); };
    return d;
}

lists::Choices ConsumptionLists::outputPointChoices() const {
    return lists::readChoices(
        db_, QStringLiteral("SELECT manu_code, manu_name FROM ManuFacturelist ORDER BY manu_code"));
}

lists::Choices ConsumptionLists::unitChoices() const {
    return lists::readChoices(db_,
                              QStringLiteral("SELECT unit_name, unit_name FROM UnitList ORDER BY unit_name"));
}

lists::Choices ConsumptionLists::itemTypeChoices() const {
    const bool ingredients = currentKind() == kIngredientKind;
    return lists::readChoices(
        db_,
        QStringLiteral("SELECT item_type_code, item_type_name FROM ItemTypeList WHERE ") +
            (ingredients ? QStringLiteral("item_type_code = ?") : QStringLiteral("item_type_code <> ?")) +
            QStringLiteral(" ORDER BY item_type_code"),
        {kIngredient});
}

lists::Choices ConsumptionLists::allItemTypes() const {
    return lists::readChoices(
        db_, QStringLiteral("SELECT item_type_code, item_type_name FROM ItemTypeList ORDER BY "
                            "item_type_code"));
}

lists::Choices ConsumptionLists::classChoices() const {
    return lists::readChoices(
        db_, QStringLiteral("SELECT clas_code, clas_name FROM classlist ORDER BY clas_code"));
}

RecordSet ConsumptionLists::itemCatalogue() const {
    return db_.query(QStringLiteral("SELECT item_code, item_name, item_unit, item_unit_pric, item_cost_pric, "
                                    "item_type_code FROM itemlist ORDER BY item_code"));
}

QString ConsumptionLists::currentKind() const {
    return classes_->masterValue().toString();
}

void ConsumptionLists::costFromClassRate(lists::MaintenanceList& items, const QString& column) {
    if (column.compare(QStringLiteral("item_unit_pric"), Qt::CaseInsensitive) != 0) return;
    const double rate = classes_->value(QStringLiteral("clas_cost_perc")).toDouble();
    if (rate <= 0) return;
    const QVariant price = items.value(QStringLiteral("item_unit_pric"));
    items.assign(QStringLiteral("item_cost_pric"),
                 price.isNull() ? QVariant() : QVariant(IntWay(price.toDouble() * rate * 0.01, kKeepCents)));
}

} // namespace sorrel::consumption
