#include "frontdesk/checkout/checkout_screen.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/tables/table_refusals.h"
#include "common/typed_input.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/panel_host.h"
#include "common/ui/print/print_document.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/billing/consumption_types.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/table_work.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::checkout {

using checkout::CheckoutSession;

namespace {

QString money(double amount) {
    return QString::number(amount, 'f', 2);
}

const char* const kAmounts[] = {"酒菜消费", "特殊消费", "最低消费", "房 间 费",
                                "服 务 费", "折扣金额", "收税金额", "应收金额"};
const char* const kMemberFields[] = {"会员名称-", "会员类型-", "卡类型-",     "电话-",     "单位-",
                                     "地址-",     "备注-",     "已消费金额-", "剩余金额-", "折扣率-"};
const char* const kCreditFields[] = {"挂帐客人-", "单位-",     "地址-",    "电话-",
                                     "备注-",     "挂帐上限-", "挂帐金额-"};

QLineEdit* edit(const QString& name, QWidget* parent, const QString& pattern = {}) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (!pattern.isEmpty()) e->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), e));
    return e;
}

// Amounts typed: digits and one decimal point, twelve digits and the cents as the books hold.
const QString kAmountPattern = QStringLiteral("[0-9]{0,12}\\.?[0-9]{0,2}");

} // namespace

CheckoutScreen::CheckoutScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context), session_(context.db, context.clock) {
    setObjectName(QStringLiteral("pnl_Bill"));
    setAutoFillBackground(true);
    printer_ = [this](const document::Document& doc, const ui::print::PrintTarget& target) {
        const ui::print::PrintResult result = ui::print::printDocument(doc, target, this);
        if (!result.failure.isEmpty()) messages::information(result.failure);
    };
    using namespace bill_tool;
    toolbar_ =
        new ui::ToolStrip(QStringLiteral("pnl_BillTools"),
                          {
                              {kSettle, QStringLiteral("结帐 *"), QStyle::SP_DialogSaveButton},
                              {kPrint, QStringLiteral("打印 /"), QStyle::SP_FileIcon},
                              {kPreview, QStringLiteral("预览 F10"), QStyle::SP_FileDialogContentsView},
                              {kBack, QStringLiteral("回退"), QStyle::SP_ArrowBack},
                              {kHelp, QStringLiteral("帮助/信息"), QStyle::SP_DialogHelpButton},
                          },
                          this);

    const auto addValue = [this](const QString& key, const QString& caption, QWidget* owner) {
        auto* label = new QLabel(owner);
        label->setObjectName(QStringLiteral("lbl_") + key);
        values_.insert(key, label);
        return std::pair{new QLabel(caption, owner), label};
    };

    // The bill and the party.
    auto* head = new QGridLayout;
    head->setHorizontalSpacing(8);
    guestName_ = edit(QStringLiteral("edt_BillGuestName"), this, QStringLiteral("[^*/]*"));
    guestName_->setMaxLength(20);
    guests_ = edit(QStringLiteral("edt_BillGuests"), this, QStringLiteral("[0-9]{0,3}"));
    int row = 0;
    for (const char* caption : {"帐单编号-", "房台-", "开台时间-", "消费方式-"}) {
        const auto [title, value] = addValue(QString::fromUtf8(caption), QString::fromUtf8(caption), this);
        head->addWidget(title, row / 2, (row % 2) * 2);
        head->addWidget(value, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
    head->addWidget(new QLabel(QStringLiteral("客人-"), this), 2, 0);
    head->addWidget(guestName_, 2, 1);
    head->addWidget(new QLabel(QStringLiteral("人数-"), this), 2, 2);
    head->addWidget(guests_, 2, 3);

    // The amounts, the collected amount and the commission.
    auto* amounts = new QGridLayout;
    amounts->setHorizontalSpacing(10);
    for (int i = 0; i < 8; ++i) {
        const QString caption = QString::fromUtf8(kAmounts[i]);
        const auto [title, value] = addValue(caption, caption, this);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(80);
        amounts->addWidget(title, i / 2, (i % 2) * 2);
        amounts->addWidget(value, i / 2, (i % 2) * 2 + 1);
    }
    collected_ = edit(QStringLiteral("edt_BillFact"), this, kAmountPattern);
    amounts->addWidget(new QLabel(QStringLiteral("实收金额"), this), 4, 0);
    amounts->addWidget(collected_, 4, 1);
    const auto [narrTitle, narr] = addValue(QStringLiteral("付款说明"), QStringLiteral("付款说明"), this);
    amounts->addWidget(narrTitle, 4, 2);
    amounts->addWidget(narr, 4, 3);
    staff_ = new QComboBox(this);
    staff_->setObjectName(QStringLiteral("cmb_BillDeduOper"));
    commission_ = new QComboBox(this);
    commission_->setObjectName(QStringLiteral("cmb_BillDeduType"));
    commission_->addItem(QString());
    commission_->addItems(tables::commissionTypes());
    amounts->addWidget(new QLabel(QStringLiteral("提成员工/方式-"), this), 5, 0);
    amounts->addWidget(staff_, 5, 1);
    amounts->addWidget(commission_, 5, 2, 1, 2);

    total_ = new QLabel(QStringLiteral("0元"), this);
    total_->setObjectName(QStringLiteral("lbl_BillTotal"));
    QFont big = total_->font();
    big.setPointSize(28);
    big.setBold(true);
    total_->setFont(big);
    total_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette red = total_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    total_->setPalette(red);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("pgc_Bill"));
    tabs_->addTab(paymentTab(), QStringLiteral("付款 +"));
    tabs_->addTab(memberTab(), QStringLiteral("会员"));
    tabs_->addTab(creditTab(), QStringLiteral("挂帐"));
    tabs_->addTab(discountTab(), QStringLiteral("折扣"));
    tabs_->addTab(modeTab(), QStringLiteral("消费方式"));
    // The member tab is for the card: its number is typed as soon as the tab shows.
    ui::connectGuarded(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == Member) cardCode_->setFocus();
    });

    auto* left = new QVBoxLayout;
    left->addLayout(head);
    left->addSpacing(6);
    left->addLayout(amounts);
    left->addWidget(total_);
    left->addStretch(1);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(8, 4, 8, 8);
    body->addLayout(left, 1);
    body->addWidget(tabs_, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(toolbar_);
    column->addLayout(body, 1);

    ui::connectGuarded(guestName_, &QLineEdit::textEdited, this,
                       [this](const QString& t) { session_.setGuestName(t); });
    ui::connectGuarded(guests_, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!session_.active()) return;
        session_.changeGuests(t);
        recomputed();
    });
    ui::connectGuarded(collected_, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!session_.active()) return;
        total_->setText(t + QStringLiteral("元"));
        if (!session_.setCollected(parseTypedNumberOrZero(t))) {
            messages::information(checkout::kOverReceivableMessage);
            fill();
        }
    });
    const auto commissionChanged = [this] {
        if (!filling_) session_.setCommission(staff_->currentData().toString(), commission_->currentText());
    };
    ui::connectGuarded(staff_, &QComboBox::currentIndexChanged, this, commissionChanged);
    ui::connectGuarded(commission_, &QComboBox::currentIndexChanged, this, commissionChanged);

    ui::connectGuarded(toolbar_->button(kSettle), &QToolButton::clicked, this, &CheckoutScreen::settle);
    ui::connectGuarded(toolbar_->button(kPrint), &QToolButton::clicked, this, [this] { printBill(false); });
    ui::connectGuarded(toolbar_->button(kPreview), &QToolButton::clicked, this, [this] { printBill(true); });
    ui::connectGuarded(toolbar_->button(kBack), &QToolButton::clicked, this, &CheckoutScreen::back);
    using ui::KeyOrigin;
    context_.keyboard.bind(
        this, Qt::Key_Asterisk, [this] { settle(); }, KeyOrigin::Keypad);
    context_.keyboard.bind(
        this, Qt::Key_Slash, [this] { printBill(false); }, KeyOrigin::Keypad);
    context_.keyboard.bind(
        this, Qt::Key_Plus, [this] { toPaymentField(); }, KeyOrigin::Keypad);
    context_.keyboard.bind(this, Qt::Key_F10, [this] { printBill(true); });
    context_.keyboard.bind(this, Qt::Key_F11, [this] { movePayment(-1); });
    context_.keyboard.bind(this, Qt::Key_F12, [this] { movePayment(1); });
    context_.keyboard.bind(this, Qt::Key_Escape, [this] { back(); });
}

QLabel* CheckoutScreen::value(const QString& caption) const {
    return values_.value(caption);
}

QWidget* CheckoutScreen::paymentTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tab_BillPay"));
    payments_ = new ui::TextGrid(QStringLiteral("dbg_PayType"),
                                 {QStringLiteral("付款名称"), QStringLiteral("付款金额")}, page);
    payments_->horizontalHeader()->setStretchLastSection(true);
    payments_->setColumnWidth(0, 140);
    amount_ = edit(QStringLiteral("edt_PayAmount"), page, kAmountPattern);
    auto* reset = new QPushButton(QStringLiteral("重置"), page);
    reset->setObjectName(QStringLiteral("btn_PayReset"));
    auto* form = new QHBoxLayout;
    form->addWidget(new QLabel(QStringLiteral("付款金额"), page));
    form->addWidget(amount_, 1);
    form->addWidget(reset);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(payments_, 1);
    layout->addLayout(form);

    ui::connectGuarded(payments_, &QTableWidget::cellClicked, this, [this](int row, int) {
        amount_->setText(plainAmountText(row));
        toPaymentField();
    });
    ui::connectGuarded(amount_, &QLineEdit::textEdited, this, [this](const QString& t) {
        const int row = payments_->currentRow();
        session_.setAmount(row, parseTypedNumberOrZero(t));
        fillPayments(row);
    });
    ui::connectGuarded(reset, &QPushButton::clicked, this, [this] {
        session_.resetPayments();
        fill();
        toPaymentField();
    });
    return page;
}

QString CheckoutScreen::plainAmountText(int row) const {
    const QList<checkout::PaymentRow>& rows = session_.tender().payments;
    if (row < 0 || row >= rows.size() || rows[row].amount == 0) return {};
    return checkout::plainAmount(rows[row].amount);
}

QWidget* CheckoutScreen::memberTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tab_BillMember"));
    cardCode_ = edit(QStringLiteral("edt_MemberCard"), page);
    cardCode_->setMaxLength(12);
    cardPassword_ = edit(QStringLiteral("edt_MemberPass"), page);
    cardPassword_->setEchoMode(QLineEdit::Password);
    auto* confirm = new QPushButton(QStringLiteral("确定"), page);
    confirm->setObjectName(QStringLiteral("btn_MemberOk"));
    auto* clear = new QPushButton(QStringLiteral("清除"), page);
    clear->setObjectName(QStringLiteral("btn_MemberClear"));
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("会员卡号-"), cardCode_);
    form->addRow(QStringLiteral("密码-"), cardPassword_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(confirm);
    buttons->addWidget(clear);
    buttons->addStretch(1);
    form->addRow(buttons);
    for (const char* caption : kMemberFields) {
        auto* label = new QLabel(page);
        const QString text = QString::fromUtf8(caption);
        label->setObjectName(QStringLiteral("lbl_会员") + text);
        values_.insert(QStringLiteral("会员") + text, label);
        form->addRow(text, label);
    }
    ui::connectGuarded(confirm, &QPushButton::clicked, this, [this] {
        if (!session_.chooseMember(cardCode_->text(), cardPassword_->text()))
            messages::information(checkout::kNoSuchMemberMessage);
        guestName_->setText(session_.guest().tabl_gues_name);
        showMember();
    });
    ui::connectGuarded(clear, &QPushButton::clicked, this, [this] {
        session_.clearMember();
        cardCode_->clear();
        cardPassword_->clear();
        showMember();
    });
    return page;
}

QWidget* CheckoutScreen::creditTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tab_BillCredit"));
    creditList_ = new ui::TextGrid(QStringLiteral("dbg_HangGues"),
                                   {QStringLiteral("挂帐客人"), QStringLiteral("挂帐上限"),
                                    QStringLiteral("挂帐金额"), QStringLiteral("单位")},
                                   page);
    creditList_->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{0, 110}, std::pair{1, 70}, std::pair{2, 70}})
        creditList_->setColumnWidth(column, width);
    auto* clear = new QPushButton(QStringLiteral("清除"), page);
    clear->setObjectName(QStringLiteral("btn_CreditClear"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(creditList_, 1);
    auto* form = new QFormLayout;
    for (const char* caption : kCreditFields) {
        auto* label = new QLabel(page);
        const QString text = QString::fromUtf8(caption);
        label->setObjectName(QStringLiteral("lbl_挂帐") + text);
        values_.insert(QStringLiteral("挂帐") + text, label);
        form->addRow(text, label);
    }
    layout->addLayout(form);
    layout->addWidget(clear, 0, Qt::AlignLeft);
    ui::connectGuarded(creditList_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row < 0 || row >= creditGuests_.size()) return;
        session_.chooseCredit(creditGuests_[row]);
        guestName_->setText(session_.guest().tabl_gues_name);
        showCredit(&creditGuests_[row]);
    });
    ui::connectGuarded(clear, &QPushButton::clicked, this, [this] {
        session_.clearCredit();
        showCredit(nullptr);
    });
    return page;
}

QWidget* CheckoutScreen::discountTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tab_BillDiscount"));
    scheme_ = new QComboBox(page);
    scheme_->setObjectName(QStringLiteral("cmb_DiscScheme"));
    rate_ = edit(QStringLiteral("edt_DiscRate"), page, QStringLiteral("100|[0-9]?[0-9]?"));
    schemeRates_ = new ui::TextGrid(QStringLiteral("dbg_DiscItem"),
                                    {QStringLiteral("分类名称"), QStringLiteral("折扣率")}, page);
    schemeRates_->horizontalHeader()->setStretchLastSection(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("折扣方案-"), scheme_);
    form->addRow(QStringLiteral("折扣费率-"), rate_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(schemeRates_, 1);
    scheme_->installEventFilter(this);
    rate_->installEventFilter(this);
    ui::connectGuarded(scheme_, &QComboBox::activated, this, [this] {
        if (!session_.active()) return;
        session_.chooseScheme(scheme_->currentData().toString(), rate_->text());
        recomputed();
    });
    ui::connectGuarded(rate_, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!session_.active()) return;
        session_.typeRate(t);
        recomputed();
    });
    return page;
}

QWidget* CheckoutScreen::modeTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tab_BillMode"));
    mode_ = new QComboBox(page);
    mode_->setObjectName(QStringLiteral("cmb_BillConsMode"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("消费方式-"), mode_);
    for (const char* caption : {"服务费率-", "基本金额-"}) {
        auto* label = new QLabel(page);
        const QString text = QString::fromUtf8(caption);
        label->setObjectName(QStringLiteral("lbl_") + text);
        values_.insert(text, label);
        form->addRow(text, label);
    }
    bands_ = new ui::TextGrid(
        QStringLiteral("dbg_ConsTime"),
        {QStringLiteral("开始时间"), QStringLiteral("结束时间"), QStringLiteral("时段价格")}, page);
    bands_->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(bands_, 1);
    ui::connectGuarded(mode_, &QComboBox::activated, this, [this] {
        if (!session_.active()) return;
        session_.chooseMode(mode_->currentData().toString(), guests_->text());
        recomputed();
    });
    return page;
}

bool CheckoutScreen::eventFilter(QObject* watched, QEvent* event) {
    // The discount is the privilege of the levels with DA: the others land on the rates list.
    if (event->type() == QEvent::FocusIn && (watched == scheme_ || watched == rate_)) {
        if (!discountAllowed_) discountAllowed_ = context_.session.limite(checkout::kDiscountPermission);
        if (!*discountAllowed_) {
            schemeRates_->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool CheckoutScreen::start(const QString& tableCode) {
    showCredit(nullptr);
    total_->setText(QStringLiteral("0元"));
    try {
        session_.enter(tableCode);
    } catch (const tables::TableChangedElsewhere& changed) {
        messages::information(changed.text());
        emit tableLost(changed.tableCode());
        return false;
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        return false;
    }
    if (session_.taxConfigured() && messages::ask(session_.taxQuestion()))
        session_.addTax(session_.guest().tabl_gues_coun);
    discountAllowed_.reset();
    cardCode_->clear();
    cardPassword_->clear();
    const checkout::CheckoutChoices& choices = session_.choices();
    creditGuests_ = choices.creditGuests;
    QList<QStringList> credit;
    for (const checkout::CreditGuest& c : creditGuests_)
        credit << QStringList{c.name, money(c.limit), money(c.owed), c.company};
    creditList_->setRows(credit, -1);
    filling_ = true;
    staff_->clear();
    staff_->addItem(QString(), QString());
    for (const tables::CommissionStaff& s : choices.staff)
        staff_->addItem(s.name, s.code);
    scheme_->clear();
    scheme_->addItem(QStringLiteral("不打折"), QStringLiteral("N"));
    for (const checkout::DiscountScheme& s : choices.schemes)
        scheme_->addItem(s.name, s.code);
    mode_->clear();
    for (const tables::ConsMode& m : choices.modes)
        mode_->addItem(m.name, m.code);
    filling_ = false;
    fill();
    showMember();
    context_.navigator.showPanel(this, context_.host, true);
    tabs_->setCurrentIndex(Payment);
    fillPayments(0);
    toPaymentField();
    return true;
}

void CheckoutScreen::recomputed() {
    fill();
}

void CheckoutScreen::fill() {
    filling_ = true;
    const billing::GuestRecord& g = session_.guest();
    value(QStringLiteral("帐单编号-"))->setText(QString::number(g.tabl_gues_auto_recn));
    value(QStringLiteral("房台-"))
        ->setText(session_.tableCode() + QStringLiteral(" / ") + session_.tableName());
    value(QStringLiteral("开台时间-"))
        ->setText(g.tabl_gues_time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    value(QStringLiteral("消费方式-"))->setText(session_.consTypeName());
    const double figures[] = {g.tabl_gues_dish, g.tabl_gues_spec, g.tabl_gues_low, g.tabl_gues_room,
                              g.tabl_gues_serv, g.tabl_gues_disc, g.tabl_gues_tax, g.tabl_gues_shou};
    for (int i = 0; i < 8; ++i)
        value(QString::fromUtf8(kAmounts[i]))->setText(money(figures[i]));
    value(QStringLiteral("付款说明"))->setText(g.tabl_gues_pay_narr);
    value(QStringLiteral("服务费率-"))->setText(plainNumberText(g.cons_mode_serv));
    value(QStringLiteral("基本金额-"))->setText(money(g.tabl_gues_unit));
    if (guestName_->text() != g.tabl_gues_name) guestName_->setText(g.tabl_gues_name);
    if (!guests_->hasFocus()) guests_->setText(QString::number(g.tabl_gues_coun));
    collected_->setText(checkout::plainAmount(g.tabl_gues_fact));
    total_->setText(checkout::plainAmount(g.tabl_gues_fact) + QStringLiteral("元"));
    staff_->setCurrentIndex(std::max(0, staff_->findData(g.dedu_oper_code)));
    commission_->setCurrentIndex(std::max(0, commission_->findText(g.dedu_type)));
    scheme_->setCurrentIndex(std::max(0, scheme_->findData(g.disc_code)));
    if (!rate_->hasFocus()) rate_->setText(g.disc_perc ? plainNumberText(g.disc_perc) : QString());
    schemeRates_->setRows(checkout::schemeClassRates(context_.db, g.disc_code), -1);
    mode_->setCurrentIndex(mode_->findData(g.cons_mode_code));
    QList<QStringList> bands;
    for (const TimeBand& b : session_.bill().mode.bands)
        bands << QStringList{b.start.toString(QStringLiteral("HH:mm:ss")),
                             b.end.toString(QStringLiteral("HH:mm:ss")), money(b.pricePerHour)};
    bands_->setRows(bands, -1);
    bands_->setVisible(billing::consTypeRule(g.cons_type_code).pricedByBands);
    fillPayments(std::max(0, payments_->currentRow()));
    filling_ = false;
}

void CheckoutScreen::fillPayments(int selected) {
    QList<QStringList> rows;
    for (const checkout::PaymentRow& p : session_.tender().payments)
        rows << QStringList{p.name, money(p.amount)};
    payments_->setRows(rows, rows.isEmpty() ? -1 : std::min(selected, int(rows.size()) - 1));
}

void CheckoutScreen::showMember() {
    const std::optional<checkout::MemberCard>& m = session_.tender().member;
    const QStringList texts = m ? QStringList{m->name,           m->typeName,
                                              m->cardType,       m->phone,
                                              m->company,        m->address,
                                              m->remark,         money(m->used),
                                              money(m->balance), plainNumberText(m->discountRate)}
                                : QStringList(10, QString());
    for (int i = 0; i < 10; ++i)
        value(QStringLiteral("会员") + QString::fromUtf8(kMemberFields[i]))->setText(texts[i]);
}

void CheckoutScreen::showCredit(const checkout::CreditGuest* c) {
    const QStringList texts =
        c ? QStringList{c->name, c->company, c->address, c->phone, c->remark, money(c->limit), money(c->owed)}
          : QStringList(7, QString());
    for (int i = 0; i < 7; ++i)
        value(QStringLiteral("挂帐") + QString::fromUtf8(kCreditFields[i]))->setText(texts[i]);
}

void CheckoutScreen::toPaymentField() {
    tabs_->setCurrentIndex(Payment);
    amount_->setText(plainAmountText(payments_->currentRow()));
    amount_->setFocus();
    amount_->end(false);
}

void CheckoutScreen::movePayment(int step) {
    const int count = payments_->rowCount();
    if (count == 0) return;
    payments_->selectRowQuietly(std::clamp(payments_->currentRow() + step, 0, count - 1));
    toPaymentField();
}

void CheckoutScreen::settle() {
    if (!session_.active()) return;
    const checkout::Settlement s = session_.prepare();
    if (!s.ok()) {
        messages::information(s.refusal);
        fillPayments(payments_->currentRow());
        return;
    }
    if (const QString change = s.changeMessage(); !change.isEmpty()) messages::information(change);
    if (!messages::ask(checkout::kSettleQuestion)) {
        fillPayments(0);
        toPaymentField();
        return;
    }
    const OperatorEntry* op = context_.session.currentOperator();
    const checkout::Cashier cashier{op ? op->code : QString(), op ? op->name : QString(),
                                    context_.settings().ordeCode, context_.session.shiftName()};
    try {
        session_.settle(s, cashier);
    } catch (const tables::TableChangedElsewhere& changed) {
        messages::information(changed.text());
        emit tableLost(changed.tableCode());
        return;
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        fill();
        return;
    }
    emit settled(session_.tableCode());
}

std::optional<checkout::BillPrint> CheckoutScreen::billPrint() {
    const checkout::Settlement s = session_.prepare();
    if (!s.ok()) {
        messages::information(s.refusal);
        return std::nullopt;
    }
    const OperatorEntry* op = context_.session.currentOperator();
    // The venue's names as they stand now: the back office may have changed them since login.
    const SettingsRow settings = loadSettingsRow(context_.db);
    return checkout::BillPrint{s.guest,
                               session_.tableName(),
                               checkout::loadBillPrintLines(context_.db, s.guest.tabl_gues_auto_recn),
                               checkout::loadBillLayout(context_.db),
                               businessIdentity(settings),
                               settings.timeWork.date(),
                               op ? op->name : QString(),
                               s.changeLine(),
                               session_.tender().member,
                               session_.tender().credit};
}

void CheckoutScreen::printBill(bool preview) {
    if (!session_.active()) return;
    if (preview || messages::ask(checkout::kPrintQuestion)) {
        if (const std::optional<checkout::BillPrint> print = billPrint()) {
            const document::Document bill = checkout::billDocument(*print, session_.settings());
            printer_(bill, preview ? ui::print::PrintTarget::preview(checkout::billSheet())
                                   : ui::print::PrintTarget::printer(QString(), checkout::billSheet()));
        }
    }
    fillPayments(0);
    toPaymentField();
}

void CheckoutScreen::back() {
    if (!session_.active()) return;
    session_.back();
    emit wentBack(session_.tableCode());
}

} // namespace sorrel::checkout
