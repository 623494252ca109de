#include "backoffice/staff/staff_screen.h"
#include "common/ui/guard.h"

#include "backoffice/panels/list_panel.h"

#include <QLineEdit>
#include <QPushButton>

namespace sorrel::staff {

namespace {

using ui::GridColumn;

QList<GridColumn> levelColumns() {
    return {{QStringLiteral("编码"), "mana_code", {}, 40}, {QStringLiteral("员工级别"), "mana_name"}};
}

QList<GridColumn> areaColumns() {
    return {{QStringLiteral("编码"), "area_code", {}, 40}, {QStringLiteral("分区名称"), "area_name"}};
}

QWidget* levelsPanel(StaffLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(
        QStringLiteral("pnl_ManaType"), lists.levels(),
        {{QStringLiteral("编码"), "mana_code", {}, 50}, {QStringLiteral("操作员级别"), "mana_name"}}, parent);
    p->addEdit(QStringLiteral("编码："), "mana_code", 0, 0);
    p->addEdit(QStringLiteral("操作员级别："), "mana_name", 0, 1);
    return p;
}

QWidget* permissionsPanel(StaffLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_Limited"), lists.permissions(),
                                    {{QStringLiteral("编码"), "limi_code", {}, 50},
                                     {QStringLiteral("权限名称"), "limi_name", {}, 200},
                                     {QStringLiteral("允许"), "limi_real", ui::yesNoMark, 40}},
                                    parent);
    p->addSideGrid(lists.levels(), levelColumns());
    p->addEdit(QStringLiteral("编码："), "limi_code", 0, 0)->setReadOnly(true);
    p->addEdit(QStringLiteral("权限名称："), "limi_name", 0, 1)->setReadOnly(true);
    p->addCheck(QStringLiteral("允许使用"), "limi_real", 1, 0);
    auto* all = new QPushButton(QStringLiteral("全选"), p);
    all->setObjectName(QStringLiteral("btn_AllYes"));
    auto* none = new QPushButton(QStringLiteral("全否"), p);
    none->setObjectName(QStringLiteral("btn_AllNo"));
    p->addToForm(all, 1, 1);
    p->addToForm(none, 1, 2);
    ui::connectGuarded(all, &QPushButton::clicked, p, [&lists] { lists.setAllPermissions(true); });
    ui::connectGuarded(none, &QPushButton::clicked, p, [&lists] { lists.setAllPermissions(false); });
    ui::connectGuarded(p->grid(), &QAbstractItemView::doubleClicked, p,
                       [&lists] { lists.togglePermission(); });
    return p;
}

QWidget* operatorsPanel(StaffLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_Operator"), lists.operators(),
                                    {{QStringLiteral("编码"), "oper_code", {}, 40},
                                     {QStringLiteral("操作员"), "oper_name", {}, 100},
                                     {QStringLiteral("密码"), "oper_pass", panels::maskedPassword, 70},
                                     {QStringLiteral("备注"), "oper_rema"}},
                                    parent);
    p->addSideGrid(lists.levels(), levelColumns());
    p->addEdit(QStringLiteral("编码："), "oper_code", 0, 0);
    p->addEdit(QStringLiteral("操作员："), "oper_name", 0, 1);
    p->addEdit(QStringLiteral("密码："), "oper_pass", 1, 0)->setEchoMode(QLineEdit::Password);
    p->addEdit(QStringLiteral("备注："), "oper_rema", 1, 1);
    return p;
}

QWidget* areasPanel(StaffLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_Area"), lists.areas(), areaColumns(), parent);
    p->addEdit(QStringLiteral("编码："), "area_code", 0, 0);
    p->addEdit(QStringLiteral("分区名称："), "area_name", 0, 1);
    return p;
}

QList<GridColumn> groupColumns() {
    return {{QStringLiteral("编码"), "grou_code", {}, 40},
            {QStringLiteral("分组名称"), "grou_name", {}, 120},
            {QStringLiteral("备注"), "grou_ream"}};
}

QWidget* groupsPanel(StaffLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_Group"), lists.groups(), groupColumns(), parent);
    p->addSideGrid(lists.areas(), areaColumns());
    p->addEdit(QStringLiteral("编码："), "grou_code", 0, 0);
    p->addEdit(QStringLiteral("组名："), "grou_name", 0, 1);
    p->addEdit(QStringLiteral("备注："), "grou_ream", 1, 0, panels::FieldKind::Digits);
    return p;
}

QWidget* commissionPanel(StaffLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_DeduOper"), lists.commission(),
                                    {{QStringLiteral("编码"), "dedu_oper_code", {}, 50},
                                     {QStringLiteral("提成员工"), "dedu_oper_name", {}, 100},
                                     {QStringLiteral("业绩标准"), "dedu_oper_stan", ui::amountText, 70},
                                     {QStringLiteral("备注"), "dedu_oper_rema"}},
                                    parent);
    p->addSideGrid(lists.areas(), areaColumns(), 150);
    p->addSideGrid(lists.groups(), {{QStringLiteral("编码"), "grou_code", {}, 40},
                                    {QStringLiteral("分组名称"), "grou_name"}});
    p->addEdit(QStringLiteral("员工编码："), "dedu_oper_code", 0, 0);
    p->addEdit(QStringLiteral("提成员工："), "dedu_oper_name", 0, 1);
    p->addEdit(QStringLiteral("业绩标准："), "dedu_oper_stan", 1, 0, panels::FieldKind::Amount);
    p->addEdit(QStringLiteral("备    注："), "dedu_oper_rema", 1, 1);
    return p;
}

} // namespace

QHash<QString, QWidget*> makeStaffPanels(const panels::BackOfficeContext& context, StaffLists& lists) {
    QWidget* parent = context.host;
    return {
        {QStringLiteral("员工级别"), levelsPanel(lists, parent)},
        {QStringLiteral("权限设置"), permissionsPanel(lists, parent)},
        {QStringLiteral("操作员工"), operatorsPanel(lists, parent)},
        {QStringLiteral("员工分区"), areasPanel(lists, parent)},
        {QStringLiteral("员工分组"), groupsPanel(lists, parent)},
        {QStringLiteral("提成员工"), commissionPanel(lists, parent)},
    };
}

} // namespace sorrel::staff
