#include "frontdesk/table_life/reagain_screen.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/settings_row.h"
#include "common/system_password.h"
#include "common/ui/date_picker.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/panel_host.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::table_life {

namespace {

QString at(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

} // namespace

ReagainScreen::ReagainScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Reagain"));
    setAutoFillBackground(true);
    using namespace reagain_tool;
    toolbar_ = new ui::ToolStrip(QStringLiteral("pnl_ReagainTools"),
                                 {
                                     {kQuery, QStringLiteral("查询"), QStyle::SP_FileDialogContentsView},
                                     {kReverse, QStringLiteral("反结帐"), QStyle::SP_BrowserReload},
                                     {kBack, QStringLiteral("回退"), QStyle::SP_ArrowBack},
                                 },
                                 this);
    auto* title = new QLabel(QStringLiteral("已结帐信息"), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPixelSize(20);
    title->setFont(big);
    table_ = new QLineEdit(this);
    table_->setObjectName(QStringLiteral("edt_ReagainTable"));
    table_->setReadOnly(true);
    table_->setFixedWidth(60);
    from_ = ui::datePicker(QStringLiteral("dtp_ReagainFrom"), this);
    to_ = ui::datePicker(QStringLiteral("dtp_ReagainTo"), this);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("edt_ReagainPassword"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(30);
    password_->setFixedWidth(120);

    auto* criteria = new QHBoxLayout;
    criteria->addWidget(new QLabel(QStringLiteral("台号"), this));
    criteria->addWidget(table_);
    criteria->addSpacing(12);
    criteria->addWidget(new QLabel(QStringLiteral("营业日期"), this));
    criteria->addWidget(from_);
    criteria->addWidget(new QLabel(QStringLiteral("至"), this));
    criteria->addWidget(to_);
    criteria->addSpacing(12);
    criteria->addWidget(new QLabel(QStringLiteral("密码"), this));
    criteria->addWidget(password_);
    criteria->addStretch(1);

    grid_ =
        new ui::TextGrid(QStringLiteral("dbg_Reagain"),
                         {QStringLiteral("单号"), QStringLiteral("台号"), QStringLiteral("台桌名称"),
                          QStringLiteral("客人"), QStringLiteral("人数"), QStringLiteral("开台时间"),
                          QStringLiteral("结帐时间"), QStringLiteral("实收金额"), QStringLiteral("结帐员工")},
                         this);
    grid_->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {60, 44, 100, 90, 44, 120, 120, 80, 80};
    for (int c = 0; c < 9; ++c)
        grid_->setColumnWidth(c, widths[c]);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(toolbar_);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 4, 12, 12);
    body->addWidget(title);
    body->addLayout(criteria);
    body->addWidget(grid_, 1);
    column->addLayout(body, 1);

    ui::connectGuarded(toolbar_->button(kQuery), &QToolButton::clicked, this, &ReagainScreen::query);
    ui::connectGuarded(toolbar_->button(kReverse), &QToolButton::clicked, this,
                       [this] { reverse(grid_->currentRow()); });
    ui::connectGuarded(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { reverse(row); });
    ui::connectGuarded(toolbar_->button(kBack), &QToolButton::clicked, this,
                       [this] { emit finished(tableCode_); });
    context_.keyboard.bind(this, Qt::Key_Escape, [this] { emit finished(tableCode_); });
}

void ReagainScreen::start(const QString& tableCode) {
    tableCode_ = tableCode;
    table_->setText(tableCode);
    // Cleared bills stay reversible until day end: those of the business day open now.
    const QDate day = loadSettingsRow(context_.db).timeWork.date();
    from_->setDate(day);
    to_->setDate(day);
    query();
    password_->clear();
    context_.navigator.showPanel(this, context_.host, true);
    password_->setFocus();
}

void ReagainScreen::query() {
    listed_ = table_life::loadClearedBills(context_.db, tableCode_, from_->date(), to_->date());
    QList<QStringList> rows;
    for (const table_life::ClearedBill& b : listed_)
        rows << QStringList{QString::number(b.number),
                            b.tableCode,
                            b.tableName,
                            b.guestName,
                            QString::number(b.guests),
                            at(b.opened),
                            at(b.settled),
                            QString::number(b.received, 'f', 2),
                            b.cashier};
    grid_->setRows(rows, rows.isEmpty() ? -1 : 0);
}

void ReagainScreen::reverse(int row) {
    if (row < 0 || row >= listed_.size() || listed_[row].tableCode.isEmpty()) return;
    if (!systemPasswordMatches(context_.db, password_->text())) {
        messages::information(kWrongSystemPasswordMessage);
        password_->setFocus();
        return;
    }
    if (!messages::ask(table_life::kReverseQuestion)) return;
    try {
        table_life::reverseSettle(context_.db, tableCode_, listed_[row].number, password_->text(),
                                  billing::BillSettings::load(context_.db), context_.clock);
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        query();
        return;
    }
    emit finished(tableCode_);
}

} // namespace sorrel::table_life
