#include "backoffice/rooms/mode_panel.h"
#include "common/ui/guard.h"

#include "backoffice/rooms/mode_amount.h"
#include "backoffice/rooms/room_navigation.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace sorrel::rooms {

ModePanel::ModePanel(const panels::BackOfficeContext& context, RoomLists& lists)
    : ModePanel(context, lists, std::make_shared<lists::Choices>()) {}

ModePanel::ModePanel(const panels::BackOfficeContext& context, RoomLists& lists,
                     std::shared_ptr<lists::Choices> typeNames)
    : panels::ListPanel(
          QStringLiteral("pnl_ConsMode"), lists.modes(),
          {{QStringLiteral("编码"), "cons_mode_code", {}, 40},
           {QStringLiteral("消费方式"), "cons_mode_name", {}, 110},
           {QStringLiteral("消费类型"), "cons_type_code",
            [typeNames](const QVariant& v) { return lists::nameOf(*typeNames, v.toString()); }, 80},
           {QStringLiteral("消费金额"), "cons_mode_mone", ui::amountText, 60},
           {QStringLiteral("服务费率"), "cons_mode_serv", {}, 60},
           {QStringLiteral("业绩定额/单"), "cons_mode_achi", {}, 75},
           {QStringLiteral("预定定额提成"), "cons_mode_pred_stan", {}, 85},
           {QStringLiteral("预定超额提成"), "cons_mode_pred_abov", {}, 85},
           {QStringLiteral("指定定额提成"), "cons_mode_spec_stan", {}, 85},
           {QStringLiteral("指定超额提成"), "cons_mode_spec_abov", {}, 85},
           {QStringLiteral("领位定额提成"), "cons_mode_lead_stan", {}, 85},
           {QStringLiteral("领位超额提成"), "cons_mode_lead_abov", {}, 85}},
          context.host),
      lists_(lists) {
    panels::Workspace& workspace = context.workspace;
    onShow([typeNames, &lists] { *typeNames = lists.consumptionTypeChoices(); });
    addEdit(QStringLiteral("消费编码："), "cons_mode_code", 0, 0);
    addEdit(QStringLiteral("名称："), "cons_mode_name", 0, 1);
    addChoice(
        QStringLiteral("消费类型："), "cons_type_code", [&lists] { return lists.consumptionTypeChoices(); },
        0, 2);
    amount_ = addEdit(kAmountCaption, "cons_mode_mone", 1, 0, panels::FieldKind::Amount);
    amountCaption_ = qobject_cast<QLabel*>(form()->itemAtPosition(1, 0)->widget());
    addEdit(QStringLiteral("服务费率："), "cons_mode_serv", 1, 1, panels::FieldKind::Digits);
    addEdit(QStringLiteral("业绩定额："), "cons_mode_achi", 1, 2, panels::FieldKind::Digits);
    const char* commissions[][2] = {
        {"预定定额提成", "cons_mode_pred_stan"}, {"预定超额提成", "cons_mode_pred_abov"},
        {"指定定额提成", "cons_mode_spec_stan"}, {"指定超额提成", "cons_mode_spec_abov"},
        {"领位定额提成", "cons_mode_lead_stan"}, {"领位超额提成", "cons_mode_lead_abov"}};
    for (int i = 0; i < 6; ++i)
        addEdit(QString::fromUtf8(commissions[i][0]), QString::fromUtf8(commissions[i][1]), 2 + i / 3, i % 3,
                panels::FieldKind::Digits);
    bands_ = new QPushButton(QStringLiteral("时段价格设置"), this);
    bands_->setObjectName(QStringLiteral("btn_ConsTime"));
    addToForm(bands_, 4, 0);
    ui::connectGuarded(bands_, &QPushButton::clicked, this,
                       [&lists, &workspace] { enterBands(workspace, lists); });

    ui::connectGuarded(&lists.modes(), &lists::MaintenanceList::currentChanged, this, &ModePanel::showType);
    ui::connectGuarded(&lists.modes(), &lists::MaintenanceList::recordChanged, this, &ModePanel::showType);
    bands_->hide();
    showType();
}

void ModePanel::showType() {
    const std::optional<AmountField> field =
        amountFieldFor(lists_.modes().text(QStringLiteral("cons_type_code")));
    if (!field) return;
    const bool shown = !field->caption.isEmpty();
    amountCaption_->setText(shown ? field->caption : kAmountCaption);
    amountCaption_->setVisible(shown);
    amount_->setVisible(shown);
    bands_->setVisible(field->bands);
}

} // namespace sorrel::rooms
