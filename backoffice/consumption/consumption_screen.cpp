#include "backoffice/consumption/consumption_screen.h"
#include "common/ui/guard.h"

#include "backoffice/consumption/components_panel.h"
#include "backoffice/consumption/consumption_navigation.h"
#include "backoffice/consumption/item_panel.h"
#include "backoffice/consumption/rates_panel.h"
#include "backoffice/panels/list_panel.h"

#include <QLineEdit>
#include <QPushButton>

namespace sorrel::consumption {

namespace {

using ui::GridColumn;

QList<GridColumn> kindColumns() {
    return {{QStringLiteral("编码"), "kind_code", {}, 50}, {QStringLiteral("大类名称"), "kind_name"}};
}

QWidget* kindsPanel(ConsumptionLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_Kind"), lists.kinds(), kindColumns(), parent);
    p->addEdit(QStringLiteral("编码"), "kind_code", 0, 0);
    p->addEdit(QStringLiteral("大类名称"), "kind_name", 0, 1);
    return p;
}

QWidget* outputPointsPanel(ConsumptionLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(
        QStringLiteral("pnl_Manu"), lists.outputPoints(),
        {{QStringLiteral("编码"), "manu_code", {}, 50}, {QStringLiteral("出品名称"), "manu_name"}}, parent);
    p->addEdit(QStringLiteral("编码"), "manu_code", 0, 0);
    p->addEdit(QStringLiteral("出品名称"), "manu_name", 0, 1);
    return p;
}

QWidget* classesPanel(ConsumptionLists& lists, QWidget* parent) {
    auto points = std::make_shared<lists::Choices>();
    auto* p = new panels::ListPanel(
        QStringLiteral("pnl_Class"), lists.classes(),
        {{QStringLiteral("编码"), "clas_code", {}, 50},
         {QStringLiteral("分类名称"), "clas_name", {}, 110},
         {QStringLiteral("打折"), "clas_allo_disc", ui::yesNoMark, 40},
         {QStringLiteral("服务费"), "clas_allo_serv", ui::yesNoMark, 50},
         {QStringLiteral("特殊消费"), "clas_allo_spec", ui::yesNoMark, 60},
         {QStringLiteral("成本率"), "clas_cost_perc", ui::percentText, 50},
         {QStringLiteral("出品类型"), "manu_code",
          [points](const QVariant& v) { return lists::nameOf(*points, v.toString()); }}},
        parent);
    p->onShow([points, &lists] { *points = lists.outputPointChoices(); });
    p->addSideGrid(lists.kinds(), kindColumns());
    p->addEdit(QStringLiteral("分类编码："), "clas_code", 0, 0);
    p->addEdit(QStringLiteral("分类名称："), "clas_name", 0, 1);
    p->addEdit(QStringLiteral("默认成本："), "clas_cost_perc", 1, 0, panels::FieldKind::Digits)
        ->setPlaceholderText("%");
    p->addChoice(
        QStringLiteral("出品类型："), "manu_code", [&lists] { return lists.outputPointChoices(); }, 1, 1);
    p->addCheck(QStringLiteral("是否打折"), "clas_allo_disc", 2, 0);
    p->addCheck(QStringLiteral("加收服务费"), "clas_allo_serv", 2, 1);
    p->addCheck(QStringLiteral("特殊消费"), "clas_allo_spec", 3, 0);
    return p;
}

QWidget* schemesPanel(ConsumptionLists& lists, panels::Workspace& workspace, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_Disc"), lists.schemes(),
                                    {{QStringLiteral("编码"), "disc_code", {}, 50},
                                     {QStringLiteral("折扣名称"), "disc_name", {}, 160},
                                     {QStringLiteral("折扣说明"), "disc_narr"}},
                                    parent);
    p->addEdit(QStringLiteral("折扣编码："), "disc_code", 0, 0);
    p->addEdit(QStringLiteral("折扣方案："), "disc_name", 0, 1);
    p->addEdit(QStringLiteral("折扣说明："), "disc_narr", 1, 0);
    auto* rates = new QPushButton(QStringLiteral("分类折扣率"), p);
    rates->setObjectName(QStringLiteral("btn_DiscItem"));
    p->addToForm(rates, 1, 1);
    ui::connectGuarded(rates, &QPushButton::clicked, p,
                       [&lists, &workspace] { enterRates(workspace, lists); });
    return p;
}

} // namespace

QHash<QString, QWidget*> makeConsumptionPanels(const panels::BackOfficeContext& context,
                                               ConsumptionLists& lists) {
    QWidget* parent = context.host;
    return {
        {QStringLiteral("大类"), kindsPanel(lists, parent)},
        {QStringLiteral("分类"), classesPanel(lists, parent)},
        {QStringLiteral("项目"), new ItemPanel(context, lists)},
        {QStringLiteral("出品"), outputPointsPanel(lists, parent)},
        {QStringLiteral("折扣"), schemesPanel(lists, context.workspace, parent)},
        {kComponentsPanel, new ComponentsPanel(lists, parent)},
        {kRatesPanel, new RatesPanel(lists, parent)},
    };
}

} // namespace sorrel::consumption
