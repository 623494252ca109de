#include "backoffice/consumption/item_panel.h"

#include "backoffice/consumption/consumption_navigation.h"
#include "backoffice/consumption/item_type_change.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"

#include <QLineEdit>
#include <QPushButton>

namespace sorrel::backoffice {

namespace {

QList<ui::GridColumn> itemColumns(const std::shared_ptr<Choices>& types) {
    return {{QStringLiteral("编码"), "item_code", {}, 50},
            {QStringLiteral("项目名称"), "item_name", {}, 110},
            {QStringLiteral("单位"), "item_unit", {}, 40},
            {QStringLiteral("单价"), "item_unit_pric", ui::amountText, 50},
            {QStringLiteral("成本"), "item_cost_pric", ui::amountText, 50},
            {QStringLiteral("提成"), "item_dedu_pric", ui::amountText, 40},
            {QStringLiteral("类型"), "item_type_code",
             [types](const QVariant& v) { return nameOf(*types, v.toString()); }, 40},
            {QStringLiteral("实价"), "item_real", ui::yesNoMark}};
}

} // namespace

ItemPanel::ItemPanel(ConsumptionLists& lists, Workspace& workspace, ui::KeyboardMap& keys, QWidget* parent)
    : ItemPanel(lists, workspace, keys, parent, std::make_shared<Choices>()) {}

ItemPanel::ItemPanel(ConsumptionLists& lists, Workspace& workspace, ui::KeyboardMap& keys, QWidget* parent,
                     std::shared_ptr<Choices> typeNames)
    : ListPanel(QStringLiteral("pnl_Item"), lists.items(), itemColumns(typeNames), parent), lists_(lists),
      workspace_(workspace) {
    onShow([typeNames, &lists] { *typeNames = lists.allItemTypes(); });
    addSideGrid(lists.kinds(),
                {{QStringLiteral("编码"), "kind_code", {}, 40}, {QStringLiteral("大类"), "kind_name"}}, 150);
    addSideGrid(lists.classes(),
                {{QStringLiteral("编码"), "clas_code", {}, 40}, {QStringLiteral("分类"), "clas_name"}});
    code_ = addEdit(QStringLiteral("编码："), "item_code", 0, 0);
    addEdit(QStringLiteral("名称："), "item_name", 0, 1);
    addChoice(
        QStringLiteral("单位："), "item_unit", [&lists] { return lists.unitChoices(); }, 0, 2);
    addEdit(QStringLiteral("单价："), "item_unit_pric", 1, 0, FieldKind::Amount);
    addEdit(QStringLiteral("成本："), "item_cost_pric", 1, 1, FieldKind::Amount);
    addEdit(QStringLiteral("提成："), "item_dedu_pric", 1, 2, FieldKind::Amount);
    addEdit(QStringLiteral("快捷："), "item_shor", 2, 0);
    addChoice(
        QStringLiteral("类型："), "item_type_code", [&lists] { return lists.itemTypeChoices(); }, 2, 1,
        [&lists](const QString& chosen) { changeItemType(lists, chosen); });
    addCheck(QStringLiteral("实价"), "item_real", 2, 2);
    auto* components = new QPushButton(QStringLiteral("套餐/合成项目"), this);
    components->setObjectName(QStringLiteral("btn_ItemGroup"));
    addToForm(components, 3, 2);
    ui::connectGuarded(components, &QPushButton::clicked, this,
                       [this] { enterComponents(workspace_, lists_); });

    // "+" anywhere on the panel starts a new item, as "增加" does.
    keys.bind(this, Qt::Key_Plus, [this] { appendItem(); });
}

void ItemPanel::appendItem() {
    workspace_.add();
    if (lists_.items().state() == MaintenanceList::State::Inserting) code_->setFocus();
}

} // namespace sorrel::backoffice
