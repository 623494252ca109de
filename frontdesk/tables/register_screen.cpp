#include "frontdesk/tables/register_screen.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/typed_input.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/keypad_signs.h"
#include "common/ui/panel_host.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::tables {

namespace {

// The party's size, as its three-character field holds it.
constexpr NumberRange kGuestCountRange{0, 999};

QLineEdit* field(const QString& name, int maxLength, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

RegisterScreen::RegisterScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Register"));
    setAutoFillBackground(true);
    using namespace register_tool;
    toolbar_ = new ui::ToolStrip(QStringLiteral("pnl_RegisterTools"),
                                 {
                                     {kOpen, QStringLiteral("开台 +"), QStyle::SP_DialogApplyButton},
                                     {kMember, QStringLiteral("会员"), QStyle::SP_DirHomeIcon},
                                     {kTakeBooking, QStringLiteral("预订转入"), QStyle::SP_ArrowRight},
                                     {kCancel, QStringLiteral("回退"), QStyle::SP_ArrowBack},
                                     {kHelp, QStringLiteral("帮助/信息"), QStyle::SP_DialogHelpButton},
                                 },
                                 this);

    code_ = new QLabel(this);
    code_->setObjectName(QStringLiteral("lbl_RegTableCode"));
    name_ = new QLabel(this);
    name_->setObjectName(QStringLiteral("lbl_RegTableName"));
    department_ = new QLabel(this);
    department_->setObjectName(QStringLiteral("lbl_RegDept"));
    auto* header = new QHBoxLayout;
    for (QLabel* label : {code_, name_, department_}) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        header->addWidget(label);
    }
    header->addStretch(1);

    userNumber_ = field(QStringLiteral("edt_UserRecn"), 11, this);
    guests_ = field(QStringLiteral("edt_GuestCount"), 3, this);
    guests_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), guests_));
    guestName_ = field(QStringLiteral("edt_GuestName"), 20, this);
    remark_ = field(QStringLiteral("edt_GuestRemark"), 20, this);
    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("cmb_ConsMode"));
    for (QLineEdit* edit : {userNumber_, guests_, guestName_, remark_})
        ui::keypadSignsAreShortcuts(edit, context_.keyboard);

    auto* form = new QGridLayout;
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(6);
    const auto caption = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    form->addWidget(caption("手工单号"), 0, 0);
    form->addWidget(userNumber_, 0, 1);
    form->addWidget(caption("人数"), 0, 2);
    form->addWidget(guests_, 0, 3);
    form->addWidget(caption("客人"), 1, 0);
    form->addWidget(guestName_, 1, 1);
    form->addWidget(caption("消费方式"), 1, 2);
    form->addWidget(mode_, 1, 3);
    form->addWidget(caption("备注"), 2, 0);
    form->addWidget(remark_, 2, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    bookings_ =
        new ui::TextGrid(QStringLiteral("dbg_Bookin"),
                         {QStringLiteral("预订客人"), QStringLiteral("人数"), QStringLiteral("预订时间"),
                          QStringLiteral("台桌号"), QStringLiteral("预订操作员"), QStringLiteral("联系电话"),
                          QStringLiteral("备注")},
                         this);
    bookings_->horizontalHeader()->setStretchLastSection(true);
    bookings_->setColumnWidth(2, 130);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(toolbar_);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 4, 12, 12);
    body->setSpacing(8);
    body->addLayout(header);
    body->addLayout(form);
    body->addWidget(new QLabel(QStringLiteral("预订信息"), this));
    body->addWidget(bookings_, 1);
    column->addLayout(body, 1);

    ui::connectGuarded(toolbar_->button(kOpen), &QToolButton::clicked, this, &RegisterScreen::open);
    ui::connectGuarded(toolbar_->button(kTakeBooking), &QToolButton::clicked, this,
                       &RegisterScreen::takeOverBooking);
    ui::connectGuarded(bookings_, &QTableWidget::cellDoubleClicked, this, &RegisterScreen::takeOverBooking);
    ui::connectGuarded(toolbar_->button(kCancel), &QToolButton::clicked, this, &RegisterScreen::cancel);
    context_.keyboard.bind(
        this, Qt::Key_Plus, [this] { open(); }, ui::KeyOrigin::Keypad);
    context_.keyboard.bind(this, Qt::Key_F12, [this] { userNumber_->setFocus(); });
    context_.keyboard.bind(this, Qt::Key_Escape, [this] { cancel(); });
}

void RegisterScreen::start(const tables::BoardTable& table) {
    table_ = table;
    listed_ = tables::loadBookings(context_.db, table.code);
    taken_.reset();
    guest_ = tables::newGuestRecord(context_.db, table, context_.settings().ordeCode, context_.clock);
    code_->setText(QStringLiteral("编号-") + table.code);
    name_->setText(QStringLiteral("名称-") + table.name);
    department_->setText(QStringLiteral("部门-") + table.deptName);
    for (QLineEdit* edit : {userNumber_, guests_, guestName_, remark_})
        edit->clear();
    mode_->clear();
    for (const tables::ConsMode& m : tables::loadConsModes(context_.db))
        mode_->addItem(m.name, m.code);
    mode_->setCurrentIndex(mode_->findData(guest_.cons_mode_code));
    showBookings();
    context_.navigator.showPanel(this, context_.host, true);
    userNumber_->setFocus();
}

void RegisterScreen::showBookings() {
    QList<QStringList> rows;
    for (const tables::Booking& b : listed_)
        if (!taken_ || b.code != taken_->code)
            rows << QStringList{b.name,
                                QString::number(b.count),
                                b.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                                b.tableCode,
                                b.operName,
                                b.phone,
                                b.note};
    bookings_->setRows(rows, rows.isEmpty() ? -1 : 0);
}

void RegisterScreen::takeOverBooking() {
    QList<tables::Booking> shown;
    for (const tables::Booking& b : listed_)
        if (!taken_ || b.code != taken_->code) shown << b;
    if (shown.isEmpty()) return;
    const int row = std::max(0, bookings_->currentRow());
    if (row >= shown.size() || !messages::ask(tables::kTakeOverBookingQuestion)) return;
    taken_ = shown[row];
    tables::takeOverBooking(guest_, *taken_);
    guests_->setText(QString::number(guest_.tabl_gues_coun));
    guestName_->setText(guest_.tabl_gues_name);
    showBookings();
}

void RegisterScreen::open() {
    billing::GuestRecord typed = guest_;
    typed.tabl_gues_user_recn = userNumber_->text();
    typed.tabl_gues_coun = static_cast<int>(parseTypedNumberOrZero(guests_->text(), kGuestCountRange));
    typed.tabl_gues_name = guestName_->text();
    typed.tabl_gues_rema = remark_->text();
    typed.cons_mode_code = mode_->currentData().toString();
    std::optional<int> booking;
    if (taken_) booking = taken_->code;
    billing::GuestRecord saved;
    try {
        saved = tables::openTable(context_.db, typed, billing::BillSettings::load(context_.db),
                                  context_.clock, booking, context_.progress);
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        emit closed(table_.code);
        return;
    }
    emit opened(tables::openedTable(context_.db, saved));
}

void RegisterScreen::cancel() {
    tables::cancelRegistration(context_.db, table_.code);
    emit closed(table_.code);
}

} // namespace sorrel::tables
