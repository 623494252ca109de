#include "frontdesk/settings/settings_screen.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/typed_input.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/panel_host.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/settings/bill_layout_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::settings {

namespace {

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* numberEdit(const char* name, const QString& pattern, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    edit->setFixedWidth(120);
    return edit;
}

QComboBox* choiceBox(const char* name, const QStringList& choices, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(choices);
    box->setFixedWidth(120);
    return box;
}

} // namespace

SettingsScreen::SettingsScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Setup"));
    setAutoFillBackground(true);
    using namespace settings_tool;
    toolbar_ =
        new ui::ToolStrip(QStringLiteral("pnl_SetupTools"),
                          {
                              {kCashier, QStringLiteral("收银设置"), QStyle::SP_FileDialogContentsView},
                              {kLayout, QStringLiteral("帐单内容"), QStyle::SP_FileDialogDetailedView},
                              {kSave, QStringLiteral("保存回退"), QStyle::SP_DialogSaveButton},
                              {kCancel, QStringLiteral("取消回退"), QStyle::SP_DialogCancelButton},
                              {kHelp, QStringLiteral("帮助/信息"), QStyle::SP_DialogHelpButton},
                          },
                          this);
    for (const char* page : {kCashier, kLayout})
        toolbar_->button(page)->setCheckable(true);

    pages_ = new QStackedWidget(this);
    cashier_ = new QWidget(pages_);
    cashier_->setObjectName(QStringLiteral("pnl_SetupPay"));
    stockLimit_ = numberEdit("edt_StockLimit", QStringLiteral("\\d{0,9}"), cashier_);
    taxType_ = choiceBox("cmb_TaxType", taxTypeChoices(), cashier_);
    taxPerGuest_ = numberEdit("edt_TaxPerGuest", QStringLiteral("\\d{0,8}(\\.\\d{0,2})?"), cashier_);
    // "##.#" while typed, "##.#%" otherwise (the filter below switches the two).
    taxPercent_ = numberEdit("edt_TaxPercent", QStringLiteral("\\d{0,2}(\\.\\d?)?%?"), cashier_);
    lineRounding_ = choiceBox("cmb_LineRounding", lineRoundingChoices(), cashier_);
    sumRounding_ = choiceBox("cmb_SumRounding", sumRoundingChoices(), cashier_);
    autoKitchen_ = new QCheckBox(
        QStringLiteral("自动进行吧厨出品处理（单机版系统默认自动进行处理，后厨必须有出品打印机）"), cashier_);
    autoKitchen_->setObjectName(QStringLiteral("chk_AutoKitchen"));
    autoKitchen_->setEnabled(false);
    taxPercent_->installEventFilter(this);

    auto* title = new QLabel(QStringLiteral("收银设置"), cashier_);
    QFont big = title->font();
    big.setPixelSize(16);
    big.setBold(true);
    title->setFont(big);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    const QList<QPair<QString, QWidget*>> fields = {
        {QStringLiteral("●库存预警下限："), stockLimit_},
        {QStringLiteral("●收税方式："), taxType_},
        {QStringLiteral("每人收税："), taxPerGuest_},
        {QStringLiteral("收税比率："), taxPercent_},
        {QStringLiteral("●点单金额取整方案："), lineRounding_},
        {QStringLiteral("●结帐金额取整方案："), sumRounding_},
    };
    for (int i = 0; i < fields.size(); ++i) {
        grid->addWidget(caption(fields[i].first, cashier_), i, 0);
        grid->addWidget(fields[i].second, i, 1);
    }
    grid->addWidget(autoKitchen_, int(fields.size()), 0, 1, 3);
    grid->setColumnStretch(2, 1);
    auto* cashierColumn = new QVBoxLayout(cashier_);
    cashierColumn->setContentsMargins(40, 16, 16, 16);
    cashierColumn->addWidget(title);
    cashierColumn->addSpacing(8);
    cashierColumn->addLayout(grid);
    cashierColumn->addStretch();

    layout_ = new BillLayoutPanel(context_, draft_, pages_);
    pages_->addWidget(cashier_);
    pages_->addWidget(layout_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolbar_);
    column->addWidget(pages_, 1);

    ui::connectGuarded(toolbar_->button(kCashier), &QToolButton::clicked, this,
                       &SettingsScreen::showCashierPage);
    ui::connectGuarded(toolbar_->button(kLayout), &QToolButton::clicked, this, &SettingsScreen::showLayout);
    ui::connectGuarded(toolbar_->button(kSave), &QToolButton::clicked, this, &SettingsScreen::saveAndReturn);
    ui::connectGuarded(toolbar_->button(kCancel), &QToolButton::clicked, this,
                       &SettingsScreen::cancelAndReturn);
    ui::connectGuarded(taxType_, &QComboBox::currentTextChanged, this, &SettingsScreen::chooseTaxType);
    for (auto [box, column] :
         {std::pair{lineRounding_, kLineRounding}, std::pair{sumRounding_, kSumRounding}})
        ui::connectGuarded(box, &QComboBox::currentTextChanged, this, [this, column](const QString& text) {
            if (!showing_) draft_.setCashier(column, text);
        });
    for (QLineEdit* edit : {stockLimit_, taxPerGuest_})
        ui::connectGuarded(edit, &QLineEdit::editingFinished, this, &SettingsScreen::takeTyped);

    // Esc leaves without saving, except in the order-line rounding list, where it only closes
    // the list.
    context_.keyboard.bind(cashier_, Qt::Key_Escape, [this] {
        if (QApplication::focusWidget() != lineRounding_) cancelAndReturn();
    });
    context_.keyboard.bind(layout_, Qt::Key_Escape, [this] { cancelAndReturn(); });
}

void SettingsScreen::open() {
    if (!context_.session.limite(kSettingsPermission)) {
        toolbar_->button(settings_tool::kCashier)->setChecked(false);
        return;
    }
    draft_ = SettingsDraft::load(context_.db);
    showCashierValues();
    layout_->refresh();
    context_.navigator.showPanel(this, context_.host, false);
    showCashier();
}

void SettingsScreen::showCashierPage() {
    if (!context_.session.limite(kSettingsPermission)) {
        toolbar_->button(settings_tool::kCashier)->setChecked(false);
        return;
    }
    takeTyped();
    showCashier();
}

void SettingsScreen::showCashier() {
    pages_->setCurrentWidget(cashier_);
    context_.navigator.setCurrentPanel(cashier_);
    toolbar_->button(settings_tool::kCashier)->setChecked(true);
    toolbar_->button(settings_tool::kLayout)->setChecked(false);
    stockLimit_->setFocus();
}

void SettingsScreen::showLayout() {
    takeTyped();
    pages_->setCurrentWidget(layout_);
    context_.navigator.setCurrentPanel(layout_);
    toolbar_->button(settings_tool::kCashier)->setChecked(false);
    toolbar_->button(settings_tool::kLayout)->setChecked(true);
    layout_->freeLine1()->setFocus();
}

void SettingsScreen::showCashierValues() {
    showing_ = true;
    stockLimit_->setText(QString::number(draft_.cashierValue(kStockLimit).toInt()));
    taxType_->setCurrentIndex(taxType_->findText(draft_.cashierValue(kTaxType).toString().trimmed()));
    taxPerGuest_->setText(plainNumberText(draft_.cashierValue(kTaxPerGuest).toDouble()));
    taxPercent_->setText(taxPercentText(draft_.cashierValue(kTaxPercent).toDouble()));
    lineRounding_->setCurrentIndex(
        lineRounding_->findText(draft_.cashierValue(kLineRounding).toString().trimmed()));
    sumRounding_->setCurrentIndex(
        sumRounding_->findText(draft_.cashierValue(kSumRounding).toString().trimmed()));
    autoKitchen_->setChecked(draft_.cashierValue(kAutoKitchen).toBool());
    showing_ = false;
    enableTaxFields();
}

void SettingsScreen::enableTaxFields() {
    const bool perGuest = draft_.taxPerGuestEditable();
    taxPerGuest_->setEnabled(perGuest);
    taxPercent_->setEnabled(!perGuest);
}

void SettingsScreen::chooseTaxType(const QString& type) {
    if (showing_) return;
    draft_.setTaxType(type);
    showing_ = true;
    taxPerGuest_->setText(plainNumberText(draft_.cashierValue(kTaxPerGuest).toDouble()));
    taxPercent_->setText(taxPercentText(draft_.cashierValue(kTaxPercent).toDouble()));
    showing_ = false;
    enableTaxFields();
    (draft_.taxPerGuestEditable() ? taxPerGuest_ : taxPercent_)->setFocus();
}

void SettingsScreen::takeTyped() {
    draft_.setCashier(kStockLimit, parseStockLimit(stockLimit_->text()));
    if (taxPerGuest_->isEnabled()) draft_.setCashier(kTaxPerGuest, parseTaxPerGuest(taxPerGuest_->text()));
    if (taxPercent_->isEnabled()) {
        QString typed = taxPercent_->text();
        typed.remove(QLatin1Char('%'));
        draft_.setCashier(kTaxPercent, parseTaxPercent(typed));
    }
}

bool SettingsScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == taxPercent_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const bool typing = event->type() == QEvent::FocusIn;
        ui::runGuarded([&] {
            if (!typing) takeTyped();
            const double percent = draft_.cashierValue(kTaxPercent).toDouble();
            taxPercent_->setText(typing ? plainNumberText(percent, 1) : taxPercentText(percent));
        });
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsScreen::saveAndReturn() {
    takeTyped();
    try {
        draft_.save(context_.db);
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        open();
        return;
    }
    emit back();
}

void SettingsScreen::cancelAndReturn() {
    // What the draft holds is dropped with it: the next opening reads the records again.
    emit back();
}

} // namespace sorrel::settings
