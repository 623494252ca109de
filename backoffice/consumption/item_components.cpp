#include "backoffice/consumption/item_components.h"

#include "backoffice/consumption/store_change.h"
#include "common/db/transaction.h"
#include "common/money.h"

namespace sorrel::consumption {

namespace {

const QString kDirect = QStringLiteral("COALESCE(grou_mix_code, '') = ''");

QString currentItem(ConsumptionLists& lists) {
    return lists.items().storedValue(QStringLiteral("item_code")).toString();
}
QString currentType(ConsumptionLists& lists) {
    return lists.items().storedValue(QStringLiteral("item_type_code")).toString();
}

// The rows a composite brings into every set meal that holds it, from its direct components and
// the set meal's quantity of it.
void rebuildRowsInSetMeals(Database& db, const QString& composite) {
    db.exec(QStringLiteral("DELETE FROM ItemGroup WHERE grou_mix_code = ?"), {composite});
    db.exec(QStringLiteral(
                "INSERT INTO ItemGroup (item_code, grou_coun, grou_code, grou_mix_coun, grou_mix_code) "
                "SELECT b.item_code, a.grou_coun * b.grou_coun, a.grou_code, b.grou_coun, a.item_code "
                "FROM ItemGroup a, ItemGroup b WHERE a.item_code = ? AND COALESCE(a.grou_mix_code, '') "
                "= '' AND b.grou_code = a.item_code AND COALESCE(b.grou_mix_code, '') = ''"),
            {composite});
}

} // namespace

bool holdsComponents(const QString& itemType) {
    return itemType == kSetMeal || itemType == kComposite;
}

bool openComponents(ConsumptionLists& lists) {
    lists::MaintenanceList& items = lists.items();
    if (items.current() < 0 || !holdsComponents(items.text(QStringLiteral("item_type_code")))) return false;
    if (!items.save()) return false;
    lists.components().reload();
    return true;
}

RecordSet componentCandidates(ConsumptionLists& lists) {
    const QString excluded = currentType(lists) == kSetMeal ? kIngredient : kComposite;
    return lists.db().query(
        QStringLiteral("SELECT item_code, item_name, item_shor, item_type_code FROM itemlist "
                       "WHERE item_code <> ? AND item_type_code <> ? AND item_type_code <> ? "
                       "ORDER BY item_code"),
        {currentItem(lists), excluded, kSetMeal});
}

RecordSet matchingCandidates(const RecordSet& candidates, const QString& typed) {
    const QString prefix = typed.trimmed();
    if (prefix.isEmpty()) return candidates;
    return candidates.filtered([&](const RecordSet::Row& row) {
        return row.text(QStringLiteral("item_code")).startsWith(prefix) ||
               row.text(QStringLiteral("item_shor")).startsWith(prefix);
    });
}

void addComponent(ConsumptionLists& lists, const QString& itemCode) {
    lists::MaintenanceList& components = lists.components();
    if (!components.saveIfPending()) return;
    const QString parent = currentItem(lists);
    Database& db = lists.db();
    {
        Transaction tx(db);
        if (db.scalar(QStringLiteral(
                          "SELECT count(*) FROM ItemGroup WHERE grou_code = ? AND item_code = ? AND ") +
                          kDirect,
                      {parent, itemCode})
                .toLongLong() > 0) {
            tx.commit();
            components.reload();
            components.moveTo(components.rows().locate({{QStringLiteral("item_code"), itemCode}}));
            return;
        }
        db.exec(QStringLiteral("INSERT INTO ItemGroup (grou_code, item_code, grou_coun) VALUES (?, ?, 1)"),
                {parent, itemCode});
        const QString type =
            db.scalar(QStringLiteral("SELECT item_type_code FROM itemlist WHERE item_code = ?"), {itemCode})
                .toString();
        if (type == kComposite)
            db.exec(
                QStringLiteral("INSERT INTO ItemGroup (item_code, grou_mix_code, grou_mix_coun, grou_coun, "
                               "grou_code) SELECT item_code, ?, grou_coun, grou_coun, ? FROM ItemGroup WHERE "
                               "grou_code = ? AND ") +
                    kDirect,
                {itemCode, parent, itemCode});
        tx.commit();
    }
    components.reload();
    components.moveTo(components.rows().locate({{QStringLiteral("item_code"), itemCode}}));
}

void leaveComponents(ConsumptionLists& lists) {
    lists::MaintenanceList& components = lists.components();
    const QString parent = currentItem(lists);
    const bool setMeal = currentType(lists) == kSetMeal;
    Database& db = lists.db();
    lists::MaintenanceList::SaveOutcome outcome;
    runCoded(db, setMeal ? kSetMealRecomputeCode : kCompositeRecomputeCode, [&] {
        outcome = components.postPending();
        if (outcome.kind != lists::MaintenanceList::SaveOutcome::Saved) return;
        if (setMeal) {
            // Every row a composite brought in takes the set meal's present quantity of it.
            db.exec(QStringLiteral(
                        "UPDATE ItemGroup SET grou_coun = grou_mix_coun * (SELECT b.grou_coun FROM "
                        "ItemGroup b WHERE b.grou_code = ItemGroup.grou_code AND b.item_code = "
                        "ItemGroup.grou_mix_code AND COALESCE(b.grou_mix_code, '') = '') WHERE "
                        "grou_code = ? AND COALESCE(grou_mix_code, '') <> '' AND EXISTS (SELECT 1 FROM "
                        "ItemGroup b WHERE b.grou_code = ItemGroup.grou_code AND b.item_code = "
                        "ItemGroup.grou_mix_code AND COALESCE(b.grou_mix_code, '') = '')"),
                    {parent});
        } else {
            rebuildRowsInSetMeals(db, parent);
        }
        storeChangeSteps(db);
    });
    components.settle(outcome);
    lists.items().reload();
    components.reload();
}

ComponentSums componentSums(ConsumptionLists& lists) {
    const RecordSet rs = lists.db().query(
        QStringLiteral(
            "SELECT sum(b.item_unit_pric * a.grou_coun), sum(COALESCE(b.item_cost_pric, 0) * a.grou_coun) "
            "FROM ItemGroup a, itemlist b WHERE a.item_code = b.item_code AND a.grou_code = ? AND "
            "COALESCE(a.grou_mix_code, '') = ''"),
        {currentItem(lists)});
    if (rs.isEmpty()) return {};
    return {IntWay(rs.value(0, 0).toDouble(), kKeepCents), IntWay(rs.value(0, 1).toDouble(), kKeepCents)};
}

bool applyComponentSums(ConsumptionLists& lists, const ComponentSums& sums) {
    lists::MaintenanceList& items = lists.items();
    items.assign(QStringLiteral("item_unit_pric"), sums.price);
    items.assign(QStringLiteral("item_cost_pric"), sums.cost);
    items.assign(QStringLiteral("item_dedu_pric"), QVariant());
    return items.save();
}

} // namespace sorrel::consumption
