#include "frontdesk/day/handover_screen.h"

#include "common/db/errors.h"
#include "common/document/number_format.h"
#include "common/document/page_format.h"
#include "common/messages.h"
#include "common/typed_input.h"
#include "common/ui/guard.h"
#include "common/ui/panel_host.h"
#include "common/ui/print/print_document.h"
#include "common/ui/record_set_model.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/day/bold_label.h"
#include "frontdesk/day/handover_report.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::day {

namespace {

constexpr int kTitlePixels = 18;
constexpr int kTotalPixels = 12;

QString money(double amount) {
    return document::formatNumber(amount, document::NumberFormat::Money);
}

} // namespace

HandoverScreen::HandoverScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Handover"));
    setAutoFillBackground(true);
    using namespace handover_tool;
    toolbar_ =
        new ui::ToolStrip(QStringLiteral("pnl_HandoverTools"),
                          {
                              {kHandOver, QStringLiteral("交班"), QStyle::SP_DialogApplyButton},
                              {kPreview, QStringLiteral("预览/打印"), QStyle::SP_FileDialogDetailedView},
                              {kBack, QStringLiteral("回退"), QStyle::SP_ArrowBack},
                              {kHelp, QStringLiteral("帮助信息"), QStyle::SP_DialogHelpButton},
                          },
                          this);

    floatsGrid_ = new ui::TextGrid(QStringLiteral("dbg_PayFloat"),
                                   {QStringLiteral("付款方式"), QStringLiteral("初始金额")}, this);
    floatsGrid_->horizontalHeader()->setStretchLastSection(true);
    floatName_ = new QLabel(this);
    floatName_->setObjectName(QStringLiteral("lbl_FloatMethod"));
    float_ = new QLineEdit(this);
    float_->setObjectName(QStringLiteral("edt_OpeningFloat"));
    float_->setMaxLength(10);
    submit_ = new QPushButton(QStringLiteral("提交"), this);
    submit_->setObjectName(QStringLiteral("btn_SubmitFloat"));
    note_ = new QLineEdit(this);
    note_->setObjectName(QStringLiteral("edt_HandoverNote"));

    auto* left = new QGridLayout;
    left->addWidget(floatsGrid_, 0, 0, 1, 2);
    left->addWidget(floatName_, 1, 0, 1, 2);
    left->addWidget(new QLabel(QStringLiteral("初始金额"), this), 2, 0);
    left->addWidget(float_, 2, 1);
    left->addWidget(submit_, 3, 1);
    left->addWidget(new QLabel(QStringLiteral("交班备注"), this), 4, 0, 1, 2);
    left->addWidget(note_, 5, 0, 1, 2);
    left->setRowStretch(0, 1);

    auto* title = boldLabel(QStringLiteral("员工交班查询报表"), kTitlePixels, this);
    title->setAlignment(Qt::AlignCenter);
    builtAt_ = new QLabel(this);
    builtAt_->setObjectName(QStringLiteral("lbl_SheetTime"));
    sheetGrid_ =
        new ui::TextGrid(QStringLiteral("dbg_PaySheet"),
                         {QStringLiteral("付款方式"), QStringLiteral("初始金额"), QStringLiteral("收入笔数"),
                          QStringLiteral("收入金额"), QStringLiteral("交班金额")},
                         this);
    sheetGrid_->setSelectionColours(Qt::white, Qt::black);
    sheetGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* totalsRow = new QHBoxLayout;
    for (const char* name :
         {"lbl_TotalFloat", "lbl_TotalReceipts", "lbl_TotalReceived", "lbl_TotalHandOver"}) {
        QLabel* label = boldLabel(QString(), kTotalPixels, this);
        label->setObjectName(QString::fromLatin1(name));
        totals_ << label;
        totalsRow->addWidget(label);
    }
    auto* right = new QVBoxLayout;
    right->addWidget(title);
    right->addWidget(builtAt_);
    right->addWidget(sheetGrid_, 1);
    right->addLayout(totalsRow);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(8, 8, 8, 8);
    body->setSpacing(12);
    body->addLayout(left, 2);
    body->addLayout(right, 5);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolbar_);
    column->addLayout(body, 1);

    ui::connectGuarded(toolbar_->button(kHandOver), &QToolButton::clicked, this, &HandoverScreen::handOver);
    ui::connectGuarded(toolbar_->button(kPreview), &QToolButton::clicked, this, &HandoverScreen::preview);
    ui::connectGuarded(toolbar_->button(kBack), &QToolButton::clicked, this, &HandoverScreen::back);
    ui::connectGuarded(submit_, &QPushButton::clicked, this, &HandoverScreen::submit);
    ui::connectGuarded(floatsGrid_, &QTableWidget::currentCellChanged, this,
                       [this](int row) { chooseFloat(row); });
}

void HandoverScreen::present() {
    note_->clear();
    loadFloats();
    sheet_ = day::buildHandoverSheet(context_.db, context_.clock);
    showSheet();
    context_.navigator.showPanel(this, context_.host, true);
    float_->setFocus();
}

void HandoverScreen::loadFloats() {
    const int keep = qMax(0, floatsGrid_->currentRow());
    floats_ = day::loadFloats(context_.db);
    QList<QStringList> rows;
    for (int i = 0; i < floats_.rowCount(); ++i)
        rows << QStringList{floats_.text(i, "pay_type_name"), money(floats_.number(i, "pay_star_mone"))};
    const int chosen = rows.isEmpty() ? -1 : qMin(keep, int(rows.size()) - 1);
    floatsGrid_->setRows(rows, chosen);
    chooseFloat(chosen);
}

void HandoverScreen::chooseFloat(int row) {
    const bool any = row >= 0 && row < floats_.rowCount();
    floatName_->setText(any ? floats_.text(row, "pay_type_name") : QString());
    float_->setText(any ? ui::amountText(floats_.value(row, "pay_star_mone")) : QString());
    float_->setEnabled(any);
    submit_->setEnabled(any);
}

void HandoverScreen::showSheet() {
    QList<QStringList> rows;
    for (const day::HandoverLine& line : sheet_.lines)
        rows << QStringList{line.name, money(line.openingFloat), QString::number(line.receipts),
                            money(line.received), money(line.toHandOver)};
    sheetGrid_->setRows(rows);
    for (int r = 0; r < sheetGrid_->rowCount(); ++r)
        for (int c = 1; c < sheetGrid_->columnCount(); ++c)
            sheetGrid_->item(r, c)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    builtAt_->setText(sheet_.builtAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    const day::HandoverTotals t = sheet_.screenTotals();
    totals_[0]->setText(QStringLiteral("初始金额-") + money(t.openingFloat));
    totals_[1]->setText(QStringLiteral("收入笔数-") + QString::number(t.receipts));
    totals_[2]->setText(QStringLiteral("收入金额-") + money(t.received));
    totals_[3]->setText(QStringLiteral("交班金额-") + money(t.toHandOver));
}

void HandoverScreen::submit() {
    const int row = floatsGrid_->currentRow();
    if (row < 0 || row >= floats_.rowCount()) return;
    const double amount = parseTypedNumberOrZero(float_->text());
    sheet_ = day::submitFloat(context_.db, context_.clock, floats_.text(row, "pay_type_code"), amount);
    loadFloats();
    showSheet();
}

void HandoverScreen::handOver() {
    if (!messages::ask(day::kHandOverQuestion)) return;
    const OperatorEntry* op = context_.session.currentOperator();
    const day::HandoverBy by{op ? op->code : context_.settings().operCode, op ? op->name : QString(),
                             note_->text()};
    try {
        day::handOver(context_.db, context_.clock, sheet_, by);
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        loadFloats();
        sheet_ = day::buildHandoverSheet(context_.db, context_.clock);
        showSheet();
        return;
    }
    loadFloats();
    sheet_ = day::buildHandoverSheet(context_.db, context_.clock);
    showSheet();
    note_->clear();
    emit handedOver();
}

document::Document HandoverScreen::report() const {
    const OperatorEntry* op = context_.session.currentOperator();
    // The venue's name as it stands now: the back office may have changed it since login.
    return day::handoverReport(sheet_, {loadSettingsRow(context_.db).userName, op ? op->name : QString(),
                                        note_->text(), context_.clock.now()});
}

void HandoverScreen::preview() {
    const ui::print::PrintResult result =
        ui::print::printDocument(report(), ui::print::PrintTarget::preview(document::PageFormat::a4()), this);
    if (!result.failure.isEmpty()) messages::information(result.failure);
}

} // namespace sorrel::day
