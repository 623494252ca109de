// The components of a set meal or composite, edited from the item panel: which items may be
// added, adding and removing them with the rows a composite brings into a set meal, the
// recomputation owed when the manager leaves them, and the price taken from them.
#pragma once

#include "backoffice/consumption/consumption_lists.h"

namespace sorrel::consumption {

inline const QString kSetMealRecomputeCode = QStringLiteral("A100006");
inline const QString kCompositeRecomputeCode = QStringLiteral("A100007");

// Whether the item may hold components (a set meal or a composite).
bool holdsComponents(const QString& itemType);

// Saves the current item and reads its components afresh. False (nothing opened) when the item
// holds no components or its save is refused.
bool openComponents(ConsumptionLists& lists);

// What may be added to the current item: a set meal takes single items and composites, a
// composite single items and ingredients; never the item itself. Columns item_code, item_name,
// item_shor, item_type_code.
RecordSet componentCandidates(ConsumptionLists& lists);
// The candidates whose code or short code begins with `typed` (blanks around it ignored).
RecordSet matchingCandidates(const RecordSet& candidates, const QString& typed);

// Adds `itemCode` once, with quantity 1; a composite also brings its own components into the
// set meal. The new row becomes current.
void addComponent(ConsumptionLists& lists, const QString& itemCode);

// "回退", and however else the components are left: in one transaction the pending quantity is
// saved, the rows a composite brings into set meals are rebuilt (or, with no component left,
// removed everywhere) and StoreChange runs last. A failure is CodedFailure A100006 (set meal)
// or A100007 (composite).
void leaveComponents(ConsumptionLists& lists);

struct ComponentSums {
    double price = 0;
    double cost = 0;
};
// Price and cost of one unit of the current item from its direct components: each component's
// price and cost times its quantity.
ComponentSums componentSums(ConsumptionLists& lists);
// The item takes the sums as its price and cost, its commission becomes blank, and it is saved.
bool applyComponentSums(ConsumptionLists& lists, const ComponentSums& sums);

} // namespace sorrel::consumption
