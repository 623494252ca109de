#include "backoffice/panels/navigation.h"

namespace sorrel::panels {

namespace {

using B = ToolButton;

QList<Leaf> leaves(const QStringList& captions, const QString& permission, ToolButtons buttons) {
    QList<Leaf> list;
    for (const QString& caption : captions)
        list.append({caption, permission, buttons});
    return list;
}

ToolButtons with(ToolButtons buttons, ToolButton extra) {
    buttons.show(extra);
    return buttons;
}

} // namespace

QString toolButtonCaption(ToolButton button) {
    static const QString captions[kToolButtonCount] = {
        QStringLiteral("增加"), QStringLiteral("删除"), QStringLiteral("取消"),
        QStringLiteral("保存"), QStringLiteral("执行"), QStringLiteral("库存调整"),
        QStringLiteral("回退"), QStringLiteral("查询"), QStringLiteral("帮助信息")};
    return captions[int(button)];
}

ToolButtons::ToolButtons(std::initializer_list<ToolButton> shown) {
    for (ToolButton b : shown)
        show(b);
}

ToolButtons recordButtons() {
    return {B::Add, B::Delete, B::Cancel, B::Save};
}

ToolButtons detailButtons() {
    return {B::Retreat, B::Delete};
}

const QList<TreeGroup>& treeGroups(Tree tree) {
    static const QList<TreeGroup> settings = {
        {QStringLiteral("消费设置"), leaves({"大类", "分类", "项目"}, "DS", recordButtons()) +
                                         leaves({"出品"}, "BS", recordButtons()) +
                                         leaves({"折扣"}, "DS", recordButtons())},
        {QStringLiteral("房台设置"), leaves({"部门", "类型", "房台", "消费方式"}, "RS", recordButtons())},
        {QStringLiteral("其它设置"),
         leaves({"班次", "付款方式", "其它收入", "项目说明"}, "OS", recordButtons()) +
             leaves({"单位名称"}, {}, recordButtons())},
    };
    static const QList<TreeGroup> staff = {
        {QStringLiteral("员工管理"), leaves({"操作员工"}, "OM", recordButtons()) +
                                         leaves({"权限设置"}, "OM", {B::Cancel, B::Save}) +
                                         leaves({"员工级别"}, "OM", recordButtons())},
        {QStringLiteral("业绩管理"), leaves({"提成员工", "员工分组", "员工分区"}, "OM", recordButtons())},
        {QStringLiteral("会员管理"), leaves({"会员类别"}, "MM", recordButtons()) +
                                         leaves({"会员信息"}, "MM", with(recordButtons(), B::Query))},
        {QStringLiteral("挂帐管理"), leaves({"挂帐客人"}, "PM", with(recordButtons(), B::Query))},
    };
    static const QList<TreeGroup> inventory = {
        {QStringLiteral("库存管理"),
         leaves({"库存调整"}, "SM", {B::Cancel, B::Save, B::StockAdjust}) +
             leaves({"物流管理"}, "SM", with(recordButtons(), B::Execute)) + leaves({"往来管理"}, "SM", {}) +
             leaves({"库存帐务", "帐务查询"}, "SM", {B::Query}) + leaves({"库存盘点", "配料使用"}, {}, {})},
        {QStringLiteral("管理设置"), leaves({"单位类型", "往来单位"}, "SM", recordButtons())},
    };
    // Behind "系统管理", which has asked for SS already.
    static const QList<TreeGroup> data = {
        {QStringLiteral("用户注册"), leaves({"注册用户"}, {}, {B::Cancel, B::Save})},
        {QStringLiteral("日志管理"), leaves({"日志查询"}, {}, {})},
        {QStringLiteral("数据管理"), leaves({"数据备份", "数据恢复", "数据清理", "系统初始"}, {}, {})},
    };
    switch (tree) {
    case Tree::Settings:
        return settings;
    case Tree::Staff:
        return staff;
    case Tree::Inventory:
        return inventory;
    case Tree::Data:
        return data;
    }
    return settings;
}

const Leaf* findLeaf(Tree tree, const QString& caption) {
    for (const TreeGroup& group : treeGroups(tree))
        for (const Leaf& leaf : group.leaves)
            if (leaf.caption == caption) return &leaf;
    return nullptr;
}

namespace {

const QList<MenuCommand>& menuCommands() {
    static const QList<MenuCommand> commands = {
        {QStringLiteral("系统设置"), "DS", false, Tree::Settings, QStringLiteral("大类"), recordButtons()},
        {QStringLiteral("管理设置"), "OM", true, Tree::Staff, QStringLiteral("操作员工"), recordButtons()},
        {QStringLiteral("库存管理"),
         "SM",
         false,
         Tree::Inventory,
         QStringLiteral("库存调整"),
         {B::Cancel, B::Save, B::StockAdjust}},
        {QStringLiteral("系统管理"),
         "SS",
         true,
         Tree::Data,
         QStringLiteral("注册用户"),
         {B::Cancel, B::Save}},
    };
    return commands;
}

} // namespace

const MenuCommand* findMenuCommand(const QString& caption) {
    for (const MenuCommand& c : menuCommands())
        if (c.caption == caption) return &c;
    return nullptr;
}

QStringList menuCommandCaptions() {
    QStringList captions;
    for (const MenuCommand& c : menuCommands())
        captions << c.caption;
    return captions;
}

} // namespace sorrel::panels
