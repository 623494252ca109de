#include "frontdesk/bookings/booking_screen.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/ui/date_picker.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/panel_host.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/bookings/bookings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::bookings {

namespace {

// However the field is entered (Enter from the date, a click), the hour is selected, so the
// digits typed replace it rather than being refused beside it.
class HourFirstTimeEdit : public QTimeEdit {
  public:
    using QTimeEdit::QTimeEdit;

  protected:
    void focusInEvent(QFocusEvent* event) override {
        QTimeEdit::focusInEvent(event);
        setSelectedSection(QDateTimeEdit::HourSection);
    }
};

const QStringList kColumns{QStringLiteral("预订客人"), QStringLiteral("人数"),     QStringLiteral("预订时间"),
                           QStringLiteral("台桌"),     QStringLiteral("预订员工"), QStringLiteral("联系电话"),
                           QStringLiteral("备注")};

QLineEdit* edit(const char* name, int maxLength, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

ui::TextGrid* bookingGrid(const char* name, QWidget* parent) {
    auto* grid = new ui::TextGrid(QString::fromLatin1(name), kColumns, parent);
    grid->setColumnWidth(2, 130);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QList<QStringList> rowsOf(const QList<tables::Booking>& list) {
    QList<QStringList> rows;
    for (const tables::Booking& b : list)
        rows << QStringList{b.name,
                            QString::number(b.count),
                            bookings::bookingTimeSet(b.time)
                                ? b.time.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                : QString(),
                            b.tableCode,
                            b.operName,
                            b.phone,
                            b.note};
    return rows;
}

} // namespace

BookingScreen::BookingScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Bookin"));
    setAutoFillBackground(true);
    using namespace booking_tool;
    toolbar_ =
        new ui::ToolStrip(QStringLiteral("pnl_BookinTools"),
                          {
                              {kAdd, QStringLiteral("增加"), QStyle::SP_FileDialogNewFolder},
                              {kDelete, QStringLiteral("删除"), QStyle::SP_TrashIcon},
                              {kSave, QStringLiteral("保存"), QStyle::SP_DialogSaveButton},
                              {kCancel, QStringLiteral("取消"), QStyle::SP_DialogCancelButton},
                              {kReset, QStringLiteral("重置"), QStyle::SP_DialogResetButton},
                              {kRunSearch, QStringLiteral("查询"), QStyle::SP_FileDialogContentsView},
                              {kSaveBack, QStringLiteral("保存回退"), QStyle::SP_ArrowBack},
                              {kHelp, QStringLiteral("帮助信息"), QStyle::SP_DialogHelpButton},
                              {kEntryMode, QStringLiteral("预订管理"), QStyle::SP_FileDialogDetailedView},
                              {kSearchMode, QStringLiteral("查询"), QStyle::SP_FileDialogListView},
                          },
                          this);
    for (const char* mode : {kEntryMode, kSearchMode})
        toolbar_->button(mode)->setCheckable(true);

    modes_ = new QWidget(this);
    entry_ = new QWidget(modes_);
    entry_->setObjectName(QStringLiteral("pnl_BookAdd"));
    search_ = new QWidget(modes_);
    search_->setObjectName(QStringLiteral("pnl_BookSearch"));

    // The entry mode: this table's bookings and the fields of the selected one.
    entryGrid_ = bookingGrid("dbg_BookEntry", entry_);
    tableName_ = new QLabel(entry_);
    tableName_->setObjectName(QStringLiteral("lbl_BookTable"));
    name_ = edit("edt_BookName", 20, entry_);
    count_ = edit("edt_BookCount", 3, entry_);
    count_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), count_));
    date_ = ui::datePicker(QStringLiteral("dtp_BookDate"), entry_);
    time_ = new HourFirstTimeEdit(entry_);
    time_->setObjectName(QStringLiteral("dtp_BookTime"));
    time_->setDisplayFormat(QStringLiteral("HH:mm"));
    phone_ = edit("edt_BookPhone", 18, entry_);
    note_ = edit("edt_BookNote", 20, entry_);
    staff_ = new QComboBox(entry_);
    staff_->setObjectName(QStringLiteral("cmb_BookStaff"));
    auto* fields = new QGridLayout;
    const auto caption = [](const char* text, QWidget* parent) {
        return new QLabel(QString::fromUtf8(text), parent);
    };
    fields->addWidget(caption("台桌名称：", entry_), 0, 0);
    fields->addWidget(tableName_, 0, 1, 1, 3);
    fields->addWidget(caption("预订客人：", entry_), 1, 0);
    fields->addWidget(name_, 1, 1);
    fields->addWidget(caption("人数：", entry_), 1, 2);
    fields->addWidget(count_, 1, 3);
    fields->addWidget(caption("预订时间：", entry_), 2, 0);
    auto* when = new QHBoxLayout;
    when->addWidget(date_, 1);
    when->addWidget(time_, 1);
    fields->addLayout(when, 2, 1);
    fields->addWidget(caption("预订员工：", entry_), 2, 2);
    fields->addWidget(staff_, 2, 3);
    fields->addWidget(caption("联系电话：", entry_), 3, 0);
    fields->addWidget(phone_, 3, 1);
    fields->addWidget(caption("备注：", entry_), 3, 2);
    fields->addWidget(note_, 3, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    auto* entryColumn = new QVBoxLayout(entry_);
    entryColumn->addLayout(fields);
    entryColumn->addWidget(entryGrid_, 1);

    // The search mode: every booking and the criteria.
    searchGrid_ = bookingGrid("dbg_BookSearch", search_);
    byDate_ = new QCheckBox(QStringLiteral("提定日期："), search_);
    byDate_->setObjectName(QStringLiteral("chk_BookDate"));
    searchDate_ = ui::datePicker(QStringLiteral("dtp_BookSearchDate"), search_);
    searchGuest_ = edit("edt_BookSearchName", 12, search_);
    searchPhone_ = edit("edt_BookSearchPhone", 18, search_);
    searchStaff_ = edit("edt_BookSearchStaff", 2, search_);
    searchTable_ = edit("edt_BookSearchTable", 3, search_);
    auto* criteria = new QGridLayout;
    criteria->addWidget(byDate_, 0, 0);
    criteria->addWidget(searchDate_, 0, 1);
    criteria->addWidget(caption("预订客人：", search_), 0, 2);
    criteria->addWidget(searchGuest_, 0, 3);
    criteria->addWidget(caption("联系电话：", search_), 0, 4);
    criteria->addWidget(searchPhone_, 0, 5);
    criteria->addWidget(caption("预订员工编码：", search_), 1, 0);
    criteria->addWidget(searchStaff_, 1, 1);
    criteria->addWidget(caption("台桌编号：", search_), 1, 2);
    criteria->addWidget(searchTable_, 1, 3);
    auto* searchColumn = new QVBoxLayout(search_);
    searchColumn->addLayout(criteria);
    searchColumn->addWidget(searchGrid_, 1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(toolbar_);
    column->addWidget(modes_, 1);

    ui::connectGuarded(toolbar_->button(kAdd), &QToolButton::clicked, this, &BookingScreen::add);
    ui::connectGuarded(toolbar_->button(kDelete), &QToolButton::clicked, this, &BookingScreen::remove);
    ui::connectGuarded(toolbar_->button(kSave), &QToolButton::clicked, this, [this] { save(); });
    ui::connectGuarded(toolbar_->button(kCancel), &QToolButton::clicked, this, &BookingScreen::cancel);
    ui::connectGuarded(toolbar_->button(kReset), &QToolButton::clicked, this, &BookingScreen::resetSearch);
    ui::connectGuarded(toolbar_->button(kRunSearch), &QToolButton::clicked, this, &BookingScreen::runSearch);
    ui::connectGuarded(toolbar_->button(kSaveBack), &QToolButton::clicked, this,
                       &BookingScreen::saveAndReturn);
    ui::connectGuarded(toolbar_->button(kEntryMode), &QToolButton::clicked, this,
                       &BookingScreen::showEntryMode);
    ui::connectGuarded(toolbar_->button(kSearchMode), &QToolButton::clicked, this,
                       &BookingScreen::showSearchMode);
    ui::connectGuarded(entryGrid_, &QTableWidget::currentCellChanged, this,
                       [this](int row) { showBooking(row); });
    for (QLineEdit* e : {name_, count_, phone_, note_})
        ui::connectGuarded(e, &QLineEdit::textEdited, this, [this] { dirty_ = true; });
    ui::connectGuarded(date_, &QDateEdit::userDateChanged, this, [this] { dirty_ = true; });
    ui::connectGuarded(time_, &QTimeEdit::userTimeChanged, this, [this] { dirty_ = true; });
    ui::connectGuarded(staff_, &QComboBox::activated, this, [this] { dirty_ = true; });
    context_.keyboard.bind(this, Qt::Key_Escape, [this] { saveAndReturn(); });
}

void BookingScreen::start(const tables::BoardTable& table) {
    table_ = table;
    staff_->clear();
    for (const bookings::BookingStaff& s : bookings::loadBookingStaff(context_.db))
        staff_->addItem(s.code + QStringLiteral(" ") + s.name, s.code);
    tableName_->setText(table.code + QStringLiteral("/") + table.name);
    searchDate_->setDate(context_.clock.now().date());
    context_.navigator.showPanel(this, context_.host, true);
    showEntryMode();
}

void BookingScreen::showEntryMode() {
    using namespace booking_tool;
    searching_ = false;
    setPickers(context_.clock.now());
    for (const char* shown : {kAdd, kDelete, kSave, kCancel})
        toolbar_->button(shown)->setVisible(true);
    for (const char* hidden : {kReset, kRunSearch})
        toolbar_->button(hidden)->setVisible(false);
    toolbar_->button(kEntryMode)->setChecked(true);
    toolbar_->button(kSearchMode)->setChecked(false);
    context_.navigator.showPanel(entry_, modes_, false);
    listTable(std::nullopt);
    name_->setFocus();
}

void BookingScreen::showSearchMode() {
    using namespace booking_tool;
    searching_ = true;
    for (const char* hidden : {kAdd, kDelete, kSave, kCancel})
        toolbar_->button(hidden)->setVisible(false);
    for (const char* shown : {kReset, kRunSearch})
        toolbar_->button(shown)->setVisible(true);
    toolbar_->button(kEntryMode)->setChecked(false);
    toolbar_->button(kSearchMode)->setChecked(true);
    context_.navigator.showPanel(search_, modes_, false);
    searchDate_->setDate(context_.clock.now().date());
    all_ = tables::loadBookings(context_.db, std::nullopt);
    listFound(all_);
    searchStaff_->setFocus();
}

void BookingScreen::listTable(std::optional<int> select) {
    listed_ = tables::loadBookings(context_.db, table_.code);
    int row = listed_.isEmpty() ? -1 : 0;
    for (int i = 0; select && i < listed_.size(); ++i)
        if (listed_[i].code == *select) row = i;
    entryGrid_->setRows(rowsOf(listed_), row);
    showBooking(row);
}

void BookingScreen::showBooking(int row) {
    if (row >= 0 && row < listed_.size()) {
        editing_ = listed_[row];
    } else {
        editing_ = {};
        editing_.tableCode = table_.code;
        if (const OperatorEntry* me = context_.session.currentOperator()) editing_.operCode = me->code;
    }
    name_->setText(editing_.name);
    count_->setText(editing_.code || editing_.count ? QString::number(editing_.count) : QString());
    phone_->setText(editing_.phone);
    note_->setText(editing_.note);
    staff_->setCurrentIndex(staff_->findData(editing_.operCode));
    // A booking without a time leaves the pickers as they are.
    if (bookings::bookingTimeSet(editing_.time)) setPickers(editing_.time);
    dirty_ = false;
}

void BookingScreen::setPickers(const QDateTime& time) {
    date_->setDate(time.date());
    time_->setTime(time.time());
}

tables::Booking BookingScreen::typed() const {
    tables::Booking b = editing_;
    b.name = name_->text().trimmed();
    b.count = count_->text().toInt();
    b.time = bookings::bookingTime(date_->date(), time_->time());
    b.phone = phone_->text().trimmed();
    b.note = note_->text().trimmed();
    b.operCode = staff_->currentData().toString();
    return b;
}

void BookingScreen::add() {
    setPickers(context_.clock.now());
    entryGrid_->selectRowQuietly(-1);
    showBooking(-1);
    dirty_ = true;
    name_->setFocus();
}

bool BookingScreen::save() {
    int code = 0;
    try {
        code = bookings::saveBooking(context_.db, typed());
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        listTable(std::nullopt);
        return false;
    }
    listTable(code);
    return true;
}

void BookingScreen::cancel() {
    showBooking(entryGrid_->currentRow());
}

void BookingScreen::remove() {
    const int row = entryGrid_->currentRow();
    if (listed_.isEmpty() || row < 0 || row >= listed_.size()) return;
    if (!messages::ask(bookings::kDeleteQuestion)) return;
    bookings::deleteBooking(context_.db, listed_[row].code);
    listTable(std::nullopt);
}

void BookingScreen::saveAndReturn() {
    if (!searching_ && dirty_ && !save()) return;
    bookings::settleBookedState(context_.db, table_.code);
    emit finished(table_.code);
}

void BookingScreen::runSearch() {
    bookings::BookingSearch criteria{.guest = searchGuest_->text(),
                                     .phone = searchPhone_->text(),
                                     .staff = searchStaff_->text(),
                                     .table = searchTable_->text()};
    if (byDate_->isChecked()) criteria.date = searchDate_->date();
    listFound(bookings::searchBookings(all_, criteria));
}

void BookingScreen::resetSearch() {
    byDate_->setChecked(false);
    for (QLineEdit* e : {searchGuest_, searchPhone_, searchStaff_, searchTable_})
        e->clear();
    listFound(all_);
}

void BookingScreen::listFound(const QList<tables::Booking>& found) {
    searchGrid_->setRows(rowsOf(found), found.isEmpty() ? -1 : 0);
}

} // namespace sorrel::bookings
