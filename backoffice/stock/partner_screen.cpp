// The partner accounts with a partner's payments, the partner types and the partners.
#include "backoffice/members/member_lists.h"
#include "backoffice/panels/list_panel.h"
#include "backoffice/stock/stock_navigation.h"
#include "backoffice/stock/stock_screen.h"
#include "common/ui/guard.h"

#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace sorrel::stock {

namespace {

QList<ui::GridColumn> typeColumns() {
    return {{QStringLiteral("编码"), "stor_work_type_code", {}, 40},
            {QStringLiteral("类型名称"), "stor_work_type_name"}};
}

QWidget* accountsPanel(StockLists& lists, panels::Workspace& workspace, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_WorkAccounts"), lists.partners(),
                                    {{QStringLiteral("编码"), "work_code", {}, 40},
                                     {QStringLiteral("单位简称"), "work_name_s", {}, 80},
                                     {QStringLiteral("联系人"), "work_man", {}, 60},
                                     {QStringLiteral("联系电话"), "work_tele", {}, 90},
                                     {QStringLiteral("应收帐款"), "work_inco_shou", ui::amountText, 70},
                                     {QStringLiteral("应付帐款"), "work_pay_shou", ui::amountText}},
                                    parent);
    p->addSideGrid(lists.partnerTypes(), typeColumns());
    p->addEdit(QStringLiteral("单位名称："), "work_name", 0, 0)->setReadOnly(true);
    p->addEdit(QStringLiteral("编码："), "work_code", 0, 1)->setReadOnly(true);
    p->addEdit(QStringLiteral("应收帐款："), "work_inco_shou", 1, 0, panels::FieldKind::Amount)
        ->setReadOnly(true);
    p->addEdit(QStringLiteral("应付帐款："), "work_pay_shou", 1, 1, panels::FieldKind::Amount)
        ->setReadOnly(true);
    auto* pay = new QPushButton(QStringLiteral("收款/付款"), p);
    pay->setObjectName(QStringLiteral("btn_Payments"));
    p->addToForm(pay, 2, 0);
    ui::connectGuarded(pay, &QPushButton::clicked, p,
                       [&workspace, &lists] { enterPayments(workspace, lists); });
    return p;
}

// A payment's amount: digits, "-" and one point; what it holds goes to the payment as a number.
QLineEdit* paymentEdit(panels::ListPanel* p, StockLists& lists, const QString& caption, const QString& column,
                       int col) {
    auto* edit = new QLineEdit(p);
    edit->setObjectName(QStringLiteral("edt_") + column);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?\\d{0,9}(\\.\\d{0,2})?")), edit));
    p->form()->addWidget(panels::fieldCaption(caption, p), 1, col * 2);
    p->form()->addWidget(edit, 1, col * 2 + 1);
    lists::MaintenanceList& payments = lists.payments();
    const auto show = [edit, &payments, column] {
        const double value = payments.value(column).toDouble();
        if (members::enteredAmount(edit->text()) != value || payments.current() < 0)
            edit->setText(payments.current() < 0 ? QString() : QString::number(value, 'g', 12));
    };
    for (auto signal : {&lists::MaintenanceList::currentChanged, &lists::MaintenanceList::recordChanged})
        ui::connectGuarded(&payments, signal, edit, show);
    ui::connectGuarded(&payments, &lists::MaintenanceList::rowsReset, edit, show);
    ui::connectGuarded(edit, &QLineEdit::textEdited, edit, [&payments, column](const QString& text) {
        payments.edit(column, members::enteredAmount(text));
    });
    return edit;
}

class PaymentsPanel : public panels::ListPanel {
  public:
    PaymentsPanel(StockLists& lists, QWidget* parent)
        : panels::ListPanel(
              QStringLiteral("pnl_WorkDetail"), lists.payments(),
              {{QStringLiteral("往来单位"), "work_code",
                [&lists](const QVariant&) { return lists.partners().text(QStringLiteral("work_name_s")); },
                80},
               {QStringLiteral("收款"), "work_inco", ui::amountText, 70},
               {QStringLiteral("付款"), "work_pay", ui::amountText, 70},
               {QStringLiteral("日期"), "work_run_time",
                [](const QVariant& v) { return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")); },
                110},
               {QStringLiteral("备注"), "work_rema"}},
              parent),
          lists_(lists) {
        heading_ = addHeading(QStringLiteral("lbl_partner"));
        paymentEdit(this, lists, QStringLiteral("收款："), QStringLiteral("work_inco"), 0);
        paymentEdit(this, lists, QStringLiteral("付款："), QStringLiteral("work_pay"), 1);
        addEdit(QStringLiteral("备注："), "work_rema", 2, 0);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        const lists::MaintenanceList& partner = lists_.partners();
        heading_->setText(partner.text(QStringLiteral("work_name")) + QStringLiteral("  [") +
                          partner.text(QStringLiteral("work_code")) + QStringLiteral("]"));
        panels::ListPanel::showEvent(event);
    }

  private:
    StockLists& lists_;
    QLabel* heading_;
};

QWidget* typesPanel(StockLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_StoreWorkType"), lists.partnerTypes(),
                                    {{QStringLiteral("编码"), "stor_work_type_code", {}, 50},
                                     {QStringLiteral("类型名称"), "stor_work_type_name", {}, 120},
                                     {QStringLiteral("备注"), "stor_work_type_rema"}},
                                    parent);
    p->addEdit(QStringLiteral("编码："), "stor_work_type_code", 0, 0);
    p->addEdit(QStringLiteral("类型名称："), "stor_work_type_name", 0, 1);
    p->addEdit(QStringLiteral("备注："), "stor_work_type_rema", 1, 0);
    return p;
}

QWidget* partnersPanel(StockLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_WorkList"), lists.partners(),
                                    {{QStringLiteral("编码"), "work_code", {}, 40},
                                     {QStringLiteral("单位简称"), "work_name_s", {}, 90},
                                     {QStringLiteral("联系人"), "work_man", {}, 70},
                                     {QStringLiteral("联系电话"), "work_tele"}},
                                    parent);
    p->addSideGrid(lists.partnerTypes(), typeColumns());
    p->addEdit(QStringLiteral("编码："), "work_code", 0, 0);
    p->addEdit(QStringLiteral("简称："), "work_name_s", 0, 1);
    p->addEdit(QStringLiteral("单位名称："), "work_name", 1, 0);
    p->addEdit(QStringLiteral("联系人："), "work_man", 1, 1);
    p->addEdit(QStringLiteral("联系电话："), "work_tele", 2, 0);
    p->addEdit(QStringLiteral("税号："), "work_tax", 2, 1);
    p->addEdit(QStringLiteral("帐号："), "work_bank", 3, 0);
    p->addEdit(QStringLiteral("备注："), "work_rema", 3, 1);
    p->addEdit(QStringLiteral("地址："), "work_add", 4, 0);
    return p;
}

} // namespace

QHash<QString, QWidget*> makePartnerPanels(const panels::BackOfficeContext& context, StockLists& lists) {
    QWidget* parent = context.host;
    return {
        {kAccountsPanel, accountsPanel(lists, context.workspace, parent)},
        {kPaymentsPanel, new PaymentsPanel(lists, parent)},
        {QStringLiteral("单位类型"), typesPanel(lists, parent)},
        {QStringLiteral("往来单位"), partnersPanel(lists, parent)},
    };
}

} // namespace sorrel::stock
