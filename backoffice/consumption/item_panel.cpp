#include "backoffice/consumption/item_panel.h"

#include "backoffice/consumption/consumption_navigation.h"
#include "backoffice/consumption/item_type_change.h"
#include "common/db/errors.h"
#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"

#include <QLineEdit>
#include <QPushButton>

namespace sorrel::consumption {

namespace {

QList<ui::GridColumn> itemColumns(const std::shared_ptr<lists::Choices>& types) {
    return {{QStringLiteral("编码"), "item_code", {}, 50},
            {QStringLiteral("项目名称"), "item_name", {}, 110},
            {QStringLiteral("单位"), "item_unit", {}, 40},
            {QStringLiteral("单价"), "item_unit_pric", ui::amountText, 50},
            {QStringLiteral("成本"), "item_cost_pric", ui::amountText, 50},
            {QStringLiteral("提成"), "item_dedu_pric", ui::amountText, 40},
            {QStringLiteral("类型"), "item_type_code",
             [types](const QVariant& v) { return lists::nameOf(*types, v.toString()); }, 40},
            {QStringLiteral("实价"), "item_real", ui::yesNoMark}};
}

// The type choice closed: the change asks its question here and shows its refusal.
void chooseItemType(ConsumptionLists& lists, const QString& chosen) {
    try {
        if (const auto question = changeItemType(lists, chosen))
            changeItemType(lists, chosen, messages::ask(*question));
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
    }
}

} // namespace

ItemPanel::ItemPanel(const panels::BackOfficeContext& context, ConsumptionLists& lists)
    : ItemPanel(context, lists, std::make_shared<lists::Choices>()) {}

ItemPanel::ItemPanel(const panels::BackOfficeContext& context, ConsumptionLists& lists,
                     std::shared_ptr<lists::Choices> typeNames)
    : panels::ListPanel(QStringLiteral("pnl_Item"), lists.items(), itemColumns(typeNames), context.host),
      lists_(lists), workspace_(context.workspace) {
    onShow([typeNames, &lists] { *typeNames = lists.allItemTypes(); });
    addSideGrid(lists.kinds(),
                {{QStringLiteral("编码"), "kind_code", {}, 40}, {QStringLiteral("大类"), "kind_name"}}, 150);
    addSideGrid(lists.classes(),
                {{QStringLiteral("编码"), "clas_code", {}, 40}, {QStringLiteral("分类"), "clas_name"}});
    code_ = addEdit(QStringLiteral("编码："), "item_code", 0, 0);
    addEdit(QStringLiteral("名称："), "item_name", 0, 1);
    addChoice(
        QStringLiteral("单位："), "item_unit", [&lists] { return lists.unitChoices(); }, 0, 2);
    addEdit(QStringLiteral("单价："), "item_unit_pric", 1, 0, panels::FieldKind::Amount);
    addEdit(QStringLiteral("成本："), "item_cost_pric", 1, 1, panels::FieldKind::Amount);
    addEdit(QStringLiteral("提成："), "item_dedu_pric", 1, 2, panels::FieldKind::Amount);
    addEdit(QStringLiteral("快捷："), "item_shor", 2, 0);
    addChoice(
        QStringLiteral("类型："), "item_type_code", [&lists] { return lists.itemTypeChoices(); }, 2, 1,
        [&lists](const QString& chosen) { chooseItemType(lists, chosen); });
    addCheck(QStringLiteral("实价"), "item_real", 2, 2);
    auto* components = new QPushButton(QStringLiteral("套餐/合成项目"), this);
    components->setObjectName(QStringLiteral("btn_ItemGroup"));
    addToForm(components, 3, 2);
    ui::connectGuarded(components, &QPushButton::clicked, this,
                       [this] { enterComponents(workspace_, lists_); });

    // "+" anywhere on the panel starts a new item, as "增加" does.
    context.keyboard.bind(this, Qt::Key_Plus, [this] { appendItem(); });
}

void ItemPanel::appendItem() {
    workspace_.add();
    if (lists_.items().state() == lists::MaintenanceList::State::Inserting) code_->setFocus();
}

} // namespace sorrel::consumption
