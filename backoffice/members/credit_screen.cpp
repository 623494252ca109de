// The credit-guest panel (with the system password for repayments) and the repayment panel.
#include "backoffice/members/find_dialog.h"
#include "backoffice/members/member_navigation.h"
#include "backoffice/members/member_screen.h"
#include "backoffice/panels/list_panel.h"
#include "common/db/errors.h"
#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/ui/print/print_document.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace sorrel::members {

namespace {

QWidget* guestsPanel(CreditLists& credit, panels::Workspace& workspace, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_HangGues"), credit.guests(),
                                    {{QStringLiteral("编码"), "hang_gues_code", {}, 40},
                                     {QStringLiteral("挂帐客人"), "hang_gues_name", {}, 90},
                                     {QStringLiteral("挂帐上限"), "hang_gues_limi", ui::amountText, 60},
                                     {QStringLiteral("挂帐金额"), "hang_gues_use", ui::amountText, 60},
                                     {QStringLiteral("联系电话"), "hang_gues_tele", {}, 90},
                                     {QStringLiteral("工作单位"), "hang_gues_work", {}, 100},
                                     {QStringLiteral("地址"), "hang_gues_add", {}, 120},
                                     {QStringLiteral("备注"), "hang_gues_rema"}},
                                    parent);
    p->addEdit(QStringLiteral("编码："), "hang_gues_code", 0, 0);
    p->addEdit(QStringLiteral("挂帐客人："), "hang_gues_name", 0, 1);
    p->addEdit(QStringLiteral("电话："), "hang_gues_tele", 0, 2);
    p->addEdit(QStringLiteral("单位："), "hang_gues_work", 1, 0);
    p->addEdit(QStringLiteral("地址："), "hang_gues_add", 1, 1);
    p->addEdit(QStringLiteral("备注："), "hang_gues_rema", 1, 2);
    p->addEdit(QStringLiteral("挂帐上限："), "hang_gues_limi", 2, 0, panels::FieldKind::Amount);
    p->addEdit(QStringLiteral("挂帐金额："), "hang_gues_use", 2, 1, panels::FieldKind::Amount)
        ->setReadOnly(true);
    p->addEdit(QStringLiteral("密码："), "hang_gues_pass", 2, 2)->setEchoMode(QLineEdit::Password);
    auto* note =
        new QLabel(QStringLiteral("* 注意：如果要进行还帐请双击要还款的单位，进行操作!    密码："), p);
    p->addToForm(note, 3, 0, 2);
    auto* password = new QLineEdit(p);
    password->setObjectName(QStringLiteral("edt_SystemPassword"));
    password->setEchoMode(QLineEdit::Password);
    p->form()->addWidget(password, 3, 4);
    ui::connectGuarded(p->grid(), &QAbstractItemView::doubleClicked, p, [&credit, &workspace, password] {
        try {
            if (enterRepayments(workspace, credit, password->text())) password->clear();
        } catch (const StepRefused& refused) {
            messages::information(refused.text());
        }
    });
    workspace.setQuery(QStringLiteral("挂帐客人"), [p, &credit] {
        askAndFind(p, credit.guests(), QStringLiteral("hang_gues_code"), QStringLiteral("hang_gues_name"));
    });
    return p;
}

class RepaymentsPanel : public panels::ListPanel {
  public:
    RepaymentsPanel(CreditLists& credit, QWidget* parent)
        : panels::ListPanel(
              QStringLiteral("pnl_HangGuesIn"), credit.repayments(),
              {{QStringLiteral("编码"), "hang_gues_code", {}, 50},
               {QStringLiteral("挂帐客人"), "hang_gues_name", {}, 120},
               {QStringLiteral("还款金额"), "hang_gues_inco", ui::amountText, 80},
               {QStringLiteral("还款日期"), "hang_gues_inco_date",
                [](const QVariant& v) { return v.toDate().toString(QStringLiteral("yyyy-MM-dd")); }, 90},
               {QStringLiteral("操作员"), "oper_name"}},
              parent),
          credit_(credit) {
        debt_ = new QLabel(this);
        debt_->setObjectName(QStringLiteral("lbl_debt"));
        form()->addWidget(panels::fieldCaption(QStringLiteral("挂帐金额："), this), 0, 0);
        form()->addWidget(debt_, 0, 1);
        amount_ = new QLineEdit(this);
        amount_->setObjectName(QStringLiteral("edt_hang_gues_inco"));
        acceptSignedAmount(amount_);
        form()->addWidget(panels::fieldCaption(QStringLiteral("还款金额："), this), 1, 0);
        form()->addWidget(amount_, 1, 1);
        auto* save = new QPushButton(QStringLiteral("保存"), this);
        save->setObjectName(QStringLiteral("btn_Repay"));
        auto* print = new QPushButton(QStringLiteral("打印"), this);
        print->setObjectName(QStringLiteral("btn_PrintRepayments"));
        form()->addWidget(save, 1, 2);
        form()->addWidget(print, 1, 3);
        ui::connectGuarded(save, &QPushButton::clicked, this, [this] {
            try {
                if (credit_.repay(amount_->text()) == CreditLists::Repayment::Booked) amount_->clear();
            } catch (const StepRefused& refused) {
                messages::information(refused.text());
            }
            showDebt();
        });
        ui::connectGuarded(print, &QPushButton::clicked, this, [this] {
            ui::print::printDocument(credit_.repaymentList(),
                                     ui::print::PrintTarget::preview(document::PageFormat::a4()), this);
        });
    }

  protected:
    void showEvent(QShowEvent* event) override {
        panels::ListPanel::showEvent(event);
        showDebt();
        amount_->clear();
        amount_->setFocus();
    }

  private:
    void showDebt() {
        debt_->setText(ui::amountText(credit_.guests().value(QStringLiteral("hang_gues_use"))));
    }

    CreditLists& credit_;
    QLabel* debt_;
    QLineEdit* amount_;
};

} // namespace

QHash<QString, QWidget*> makeCreditPanels(const panels::BackOfficeContext& context, CreditLists& credit) {
    QWidget* parent = context.host;
    return {
        {QStringLiteral("挂帐客人"), guestsPanel(credit, context.workspace, parent)},
        {kRepaymentsPanel, new RepaymentsPanel(credit, parent)},
    };
}

} // namespace sorrel::members
