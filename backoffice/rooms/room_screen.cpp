#include "backoffice/rooms/room_screen.h"

#include "backoffice/panels/list_panel.h"
#include "backoffice/rooms/bands_panel.h"
#include "backoffice/rooms/mode_panel.h"
#include "backoffice/rooms/room_navigation.h"

namespace sorrel::rooms {

namespace {

using ui::GridColumn;

QList<GridColumn> departmentColumns() {
    return {{QStringLiteral("编码"), "dept_code", {}, 50}, {QStringLiteral("部门名称"), "dept_name"}};
}

// A grid column that shows a code by its name in choices read afresh whenever the panel shows.
GridColumn namedColumn(const QString& caption, const QString& column, std::shared_ptr<lists::Choices> names) {
    return {caption, column, [names](const QVariant& v) { return lists::nameOf(*names, v.toString()); }};
}

QWidget* departmentsPanel(RoomLists& lists, QWidget* parent) {
    auto* p =
        new panels::ListPanel(QStringLiteral("pnl_Dept"), lists.departments(), departmentColumns(), parent);
    p->addEdit(QStringLiteral("编码"), "dept_code", 0, 0);
    p->addEdit(QStringLiteral("部门名称"), "dept_name", 0, 1);
    return p;
}

QWidget* tableTypesPanel(RoomLists& lists, QWidget* parent) {
    auto modes = std::make_shared<lists::Choices>();
    auto* p = new panels::ListPanel(QStringLiteral("pnl_TablType"), lists.tableTypes(),
                                    {{QStringLiteral("编码"), "tabl_type_code", {}, 50},
                                     {QStringLiteral("房台类型"), "tabl_type_name", {}, 110},
                                     {QStringLiteral("房台说明"), "tabl_type_narr", {}, 130},
                                     namedColumn(QStringLiteral("消费方式"), "cons_mode_code", modes)},
                                    parent);
    p->onShow([modes, &lists] { *modes = lists.modeChoices(); });
    p->addEdit(QStringLiteral("类型编码："), "tabl_type_code", 0, 0);
    p->addEdit(QStringLiteral("房台类型："), "tabl_type_name", 0, 1);
    p->addEdit(QStringLiteral("房台说明："), "tabl_type_narr", 1, 0);
    p->addChoice(
        QStringLiteral("消费方式："), "cons_mode_code", [&lists] { return lists.modeChoices(); }, 1, 1);
    return p;
}

QWidget* tablesPanel(RoomLists& lists, QWidget* parent) {
    auto types = std::make_shared<lists::Choices>();
    auto* p = new panels::ListPanel(QStringLiteral("pnl_Tabl"), lists.tables(),
                                    {{QStringLiteral("编码"), "tabl_code", {}, 50},
                                     {QStringLiteral("房台名称"), "tabl_name", {}, 110},
                                     {QStringLiteral("房台说明"), "tabl_narr", {}, 120},
                                     namedColumn(QStringLiteral("房台类型"), "tabl_type_code", types)},
                                    parent);
    p->onShow([types, &lists] { *types = lists.tableTypeChoices(); });
    p->addSideGrid(lists.departments(), departmentColumns());
    p->addEdit(QStringLiteral("房台编码："), "tabl_code", 0, 0);
    p->addEdit(QStringLiteral("房台名称："), "tabl_name", 0, 1);
    p->addEdit(QStringLiteral("房台说明："), "tabl_narr", 1, 0);
    p->addChoice(
        QStringLiteral("房台类型："), "tabl_type_code", [&lists] { return lists.tableTypeChoices(); }, 1, 1);
    return p;
}

} // namespace

QHash<QString, QWidget*> makeRoomPanels(const panels::BackOfficeContext& context, RoomLists& lists) {
    QWidget* parent = context.host;
    return {
        {QStringLiteral("部门"), departmentsPanel(lists, parent)},
        {QStringLiteral("类型"), tableTypesPanel(lists, parent)},
        {QStringLiteral("房台"), tablesPanel(lists, parent)},
        {QStringLiteral("消费方式"), new ModePanel(context, lists)},
        {kBandsPanel, new BandsPanel(lists, parent)},
    };
}

} // namespace sorrel::rooms
