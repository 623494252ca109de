#include "frontdesk/day/day_panel.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/money.h"
#include "common/typed_input.h"
#include "common/ui/guard.h"
#include "common/ui/panel_host.h"
#include "common/ui/record_set_model.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/day/bold_label.h"
#include "frontdesk/day/day_operations.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::day {

DayPanel::DayPanel(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Day"));
    setAutoFillBackground(true);
    using namespace day_tool;
    toolbar_ = new ui::ToolStrip(QStringLiteral("pnl_DayTools"),
                                 {
                                     {kStart, QStringLiteral("日始"), QStyle::SP_MediaPlay},
                                     {kEnd, QStringLiteral("日结"), QStyle::SP_MediaStop},
                                     {kSave, QStringLiteral("保存回退"), QStyle::SP_DialogSaveButton},
                                     {kHelp, QStringLiteral("帮助信息"), QStyle::SP_DialogHelpButton},
                                 },
                                 this);

    state_ = boldLabel(QString(), 18, this);
    state_->setObjectName(QStringLiteral("lbl_DayState"));
    timeCaption_ = new QLabel(this);
    timeCaption_->setObjectName(QStringLiteral("lbl_DayTimeCaption"));
    time_ = new QLabel(this);
    time_->setObjectName(QStringLiteral("lbl_DayTime"));
    workAuto_ = new QCheckBox(QStringLiteral("自动进行日始日结（适合于不跨日结算的单位，如：餐馆）"), this);
    workAuto_->setObjectName(QStringLiteral("chk_WorkAuto"));
    workBack_ = new QCheckBox(QStringLiteral("日结时是否进行自动数据备份！"), this);
    workBack_->setObjectName(QStringLiteral("chk_WorkBack"));

    income_ = new ui::TextGrid(QStringLiteral("dbg_OtherIncome"),
                               {QStringLiteral("其它收入项目"), QStringLiteral("收入金额")}, this);
    income_->horizontalHeader()->setStretchLastSection(true);
    income_->setColumnWidth(0, 200);
    incomeName_ = new QLabel(this);
    incomeName_->setObjectName(QStringLiteral("lbl_IncomeName"));
    amount_ = new QLineEdit(this);
    amount_->setObjectName(QStringLiteral("edt_IncomeAmount"));
    amount_->setMaxLength(day::kIncomeAmountLength);

    auto* status = new QGridLayout;
    status->setHorizontalSpacing(10);
    status->addWidget(state_, 0, 0, 1, 2);
    status->addWidget(timeCaption_, 1, 0);
    status->addWidget(time_, 1, 1);
    status->addWidget(workAuto_, 2, 0, 1, 2);
    status->addWidget(workBack_, 3, 0, 1, 2);
    status->setColumnStretch(1, 1);

    auto* editor = new QHBoxLayout;
    editor->addWidget(incomeName_, 1);
    editor->addWidget(new QLabel(QStringLiteral("收入金额"), this));
    editor->addWidget(amount_);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 8, 16, 12);
    body->setSpacing(8);
    body->addLayout(status);
    body->addWidget(new QLabel(QStringLiteral("其它收入"), this));
    body->addWidget(income_, 1);
    body->addLayout(editor);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolbar_);
    column->addLayout(body, 1);

    ui::connectGuarded(toolbar_->button(kStart), &QToolButton::clicked, this, &DayPanel::startDay);
    ui::connectGuarded(toolbar_->button(kEnd), &QToolButton::clicked, this, &DayPanel::endDay);
    ui::connectGuarded(toolbar_->button(kSave), &QToolButton::clicked, this, &DayPanel::saveAndReturn);
    ui::connectGuarded(income_, &QTableWidget::currentCellChanged, this,
                       [this](int row) { chooseIncome(row); });
}

void DayPanel::present() {
    context_.session.reloadBusinessDay();
    showStatus();
    loadIncome();
    context_.navigator.showPanel(this, context_.host, true);
    income_->setFocus();
}

void DayPanel::showStatus() {
    const SettingsRow& settings = context_.settings();
    const day::DayStatus status = day::dayStatus(settings);
    state_->setText(status.label);
    timeCaption_->setText(status.timeCaption);
    time_->setText(status.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    workAuto_->setChecked(settings.workAuto);
    workBack_->setChecked(settings.workBack);
}

void DayPanel::loadIncome() {
    incomeRows_ = day::loadOtherIncome(context_.db);
    QList<QStringList> rows;
    for (int i = 0; i < incomeRows_.rowCount(); ++i)
        rows << QStringList{incomeRows_.text(i, "othe_inco_name"),
                            ui::amountText(incomeRows_.value(i, "othe_inco_mone"))};
    income_->setRows(rows, rows.isEmpty() ? -1 : 0);
    showIncome(rows.isEmpty() ? -1 : 0);
}

void DayPanel::chooseIncome(int row) {
    if (row == chosen_) return;
    postTypedIncome();
    showIncome(row);
}

void DayPanel::showIncome(int row) {
    chosen_ = row;
    const bool any = row >= 0 && row < incomeRows_.rowCount();
    incomeName_->setText(any ? incomeRows_.text(row, "othe_inco_name") : QString());
    amount_->setText(any ? ui::amountText(incomeRows_.value(row, "othe_inco_mone")) : QString());
    amount_->setEnabled(any);
}

std::optional<OtherIncomeEdit> DayPanel::typedIncome() const {
    if (chosen_ < 0 || chosen_ >= incomeRows_.rowCount()) return std::nullopt;
    return OtherIncomeEdit{incomeRows_.text(chosen_, "othe_inco_code"),
                           parseTypedNumberOrZero(amount_->text())};
}

void DayPanel::postTypedIncome() {
    const std::optional<OtherIncomeEdit> edit = typedIncome();
    if (!edit || compareMoney(edit->amount, incomeRows_.number(chosen_, "othe_inco_mone")) == 0) return;
    postOtherIncome(context_.db, *edit);
    incomeRows_.setValue(chosen_, QStringLiteral("othe_inco_mone"), edit->amount);
    QList<QStringList> rows = income_->rows();
    rows[chosen_][1] = ui::amountText(edit->amount);
    income_->setRows(rows, income_->currentRow());
}

void DayPanel::startDay() {
    if (businessDayOpen(context_.db)) {
        messages::information(kDayAlreadyStartedMessage);
        return;
    }
    if (!messages::ask(day::kDayStartQuestion)) return;
    try {
        sorrel::startDay(context_.db, context_.clock);
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
    }
    context_.session.reloadBusinessDay();
    showStatus();
    loadIncome();
    if (context_.settings().payStar) emit dayStarted(context_.settings().timeWork.date());
}

void DayPanel::endDay() {
    if (!businessDayOpen(context_.db)) {
        messages::information(kDayNotStartedForEndMessage);
        return;
    }
    if (!messages::ask(day::dayEndQuestion(day::tablesInUse(context_.db)))) return;
    const std::optional<OtherIncomeEdit> edit = typedIncome();
    try {
        sorrel::endDay(context_.db, context_.clock, edit, context_.progress);
        context_.session.backUpAfterDayEnd();
    } catch (const StepRefused& refused) {
        if (context_.progress) context_.progress(100);
        messages::information(refused.text());
    }
    context_.session.reloadBusinessDay();
    showStatus();
    loadIncome();
}

void DayPanel::saveAndReturn() {
    day::saveDayPanel(context_.db, workAuto_->isChecked(), workBack_->isChecked(), typedIncome());
    context_.session.reloadBusinessDay();
    emit back();
}

} // namespace sorrel::day
