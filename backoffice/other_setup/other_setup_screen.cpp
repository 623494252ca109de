#include "backoffice/other_setup/other_setup_screen.h"

#include "backoffice/panels/list_panel.h"

namespace sorrel::other_setup {

namespace {

// A panel of code and name, captioned "编码：" and the list's own name caption.
QWidget* codePanel(const QString& objectName, lists::MaintenanceList& list, const QString& prefix,
                   const QString& nameCaption, QWidget* parent) {
    const QString code = prefix + QStringLiteral("_code");
    const QString name = prefix + QStringLiteral("_name");
    auto* p = new panels::ListPanel(objectName, list,
                                    {{QStringLiteral("编码"), code, {}, 60}, {nameCaption, name}}, parent);
    p->addEdit(QStringLiteral("编码："), code, 0, 0);
    p->addEdit(nameCaption + QStringLiteral("："), name, 0, 1);
    return p;
}

} // namespace

QHash<QString, QWidget*> makeOtherPanels(const panels::BackOfficeContext& context, OtherLists& lists) {
    QWidget* parent = context.host;
    auto* units = new panels::ListPanel(QStringLiteral("pnl_Unit"), lists.units(),
                                        {{QStringLiteral("单位名称"), "unit_name"}}, parent);
    units->addEdit(QStringLiteral("单位名称"), "unit_name", 0, 0);
    return {
        {QStringLiteral("班次"),
         codePanel("pnl_Orde", lists.shifts(), "orde", QStringLiteral("班次名称"), parent)},
        {QStringLiteral("付款方式"),
         codePanel("pnl_PayType", lists.paymentMethods(), "pay_type", QStringLiteral("付款方式"), parent)},
        {QStringLiteral("其它收入"), codePanel("pnl_OtherIncome", lists.otherIncome(), "othe_inco",
                                               QStringLiteral("其它收入名称"), parent)},
        {QStringLiteral("项目说明"),
         codePanel("pnl_ConsNarr", lists.itemNotes(), "cons_narr", QStringLiteral("消费项目说明"), parent)},
        {QStringLiteral("单位名称"), units},
    };
}

} // namespace sorrel::other_setup
