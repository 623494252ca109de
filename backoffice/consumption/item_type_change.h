// The manager chose another type for the current item. A set meal or composite that becomes
// something else loses its components (after a question); an item that is already a component
// cannot become a set meal, nor a composite inside another composite. Where components or the
// rows of other set meals are touched, the item, the change and StoreChange go in one
// transaction (A100009, A100010, A100011).
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "common/db/errors.h"

#include <optional>

namespace sorrel::consumption {

inline const QString kBecomesCompositeCode = QStringLiteral("A100009");
inline const QString kCompositeChangedCode = QStringLiteral("A100010");
inline const QString kSetMealChangedCode = QStringLiteral("A100011");

inline const QString kAlreadyAComponentMessage =
    QStringLiteral("此项目已经包含在某[组合项目]中，所以不能被修改为组合项目！");
inline const QString kClearComponentsQuestion = QStringLiteral("如果改变类型将清除其包含的项目?");

// Called when the type choice closes on `chosen`. Either the type stays in the record (to be
// saved with it), or the change is undone and refused (StepRefused), or it has been saved with
// its consequences. A change that would clear components needs the manager's yes: without
// `clearComponents` it returns kClearComponentsQuestion and keeps nothing; the screen asks and
// calls again with the answer.
std::optional<QString> changeItemType(ConsumptionLists& lists, const QString& chosen,
                                      std::optional<bool> clearComponents = std::nullopt);

} // namespace sorrel::consumption
