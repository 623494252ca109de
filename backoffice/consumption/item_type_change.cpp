#include "backoffice/consumption/item_type_change.h"

#include "backoffice/consumption/item_components.h"
#include "backoffice/consumption/store_change.h"
#include "common/db/errors.h"
#include "common/db/transaction.h"

namespace sorrel::consumption {

namespace {

const QString kType = QStringLiteral("item_type_code");

bool isComponent(Database& db, const QString& code) {
    return lists::recordSearch(db, QStringLiteral("ItemGroup"), QStringLiteral("item_code"), code);
}

bool isInComposite(Database& db, const QString& code) {
    return db.scalar(QStringLiteral(
                         "SELECT count(*) FROM ItemGroup g, itemlist p WHERE p.item_code = g.grou_code "
                         "AND g.item_code = ? AND p.item_type_code = ?"),
                     {code, kComposite})
               .toLongLong() > 0;
}

bool hasComponents(Database& db, const QString& code) {
    return lists::recordSearch(db, QStringLiteral("ItemGroup"), QStringLiteral("grou_code"), code);
}

// Saves the item with its new type and runs `consequences` and StoreChange in one coded
// transaction; the lists are read again afterwards.
void saveWithConsequences(ConsumptionLists& lists, const QString& code,
                          const std::function<void(Database&, const QString&)>& consequences) {
    lists::MaintenanceList& items = lists.items();
    Database& db = lists.db();
    lists::MaintenanceList::SaveOutcome outcome;
    runCoded(db, code, [&] {
        outcome = items.postPending();
        if (outcome.kind != lists::MaintenanceList::SaveOutcome::Saved) return;
        consequences(db, items.text(QStringLiteral("item_code")));
        storeChangeSteps(db);
    });
    if (!items.settle(outcome)) return;
    items.reload();
    lists.components().reload();
}

} // namespace

std::optional<QString> changeItemType(ConsumptionLists& lists, const QString& chosen,
                                      std::optional<bool> clearComponents) {
    lists::MaintenanceList& items = lists.items();
    if (items.current() < 0) return std::nullopt;
    Database& db = lists.db();
    const QString old = items.storedValue(kType).toString();
    const QString code = items.storedValue(QStringLiteral("item_code")).toString();
    items.assign(kType, chosen);
    const auto undo = [&] { items.assign(kType, old); };
    if (items.state() == lists::MaintenanceList::State::Inserting || chosen == old) return std::nullopt;

    if ((old == kSingleItem || old == kComposite) && chosen == kSetMeal && isComponent(db, code)) {
        undo();
        throw StepRefused(kAlreadyAComponentMessage);
    }
    if (old == kSingleItem && chosen == kComposite) {
        // A composite holds no composites: an ingredient of one stays what it is.
        if (isInComposite(db, code)) {
            undo();
            throw StepRefused(kAlreadyAComponentMessage);
        }
        if (isComponent(db, code))
            saveWithConsequences(lists, kBecomesCompositeCode, [](Database& db, const QString& item) {
                db.exec(QStringLiteral(
                            "UPDATE itemlist SET item_type_code = '3', item_coun = 0 WHERE item_code = ?"),
                        {item});
            });
        return std::nullopt;
    }
    if (holdsComponents(old) && chosen != kIngredient) {
        if (!clearComponents) return kClearComponentsQuestion;
        if (!*clearComponents) {
            undo();
            return std::nullopt;
        }
        const bool composite = old == kComposite;
        // A composite loses its own components too, not only its place in set meals.
        if (!hasComponents(db, code) && !(composite && isComponent(db, code))) return std::nullopt;
        saveWithConsequences(
            lists, composite ? kCompositeChangedCode : kSetMealChangedCode,
            [chosen](Database& db, const QString& item) {
                db.exec(QStringLiteral("UPDATE itemlist SET item_type_code = ?, item_coun = 0 WHERE "
                                       "item_code = ?"),
                        {chosen, item});
                db.exec(QStringLiteral("DELETE FROM ItemGroup WHERE grou_code = ? OR "
                                       "grou_mix_code = ?"),
                        {item, item});
            });
    }
    return std::nullopt;
}

} // namespace sorrel::consumption
