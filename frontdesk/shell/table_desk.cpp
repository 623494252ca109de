#include "frontdesk/shell/table_desk.h"

#include "common/business_day.h"
#include "common/db/errors.h"
#include "common/messages.h"
#include "common/tables/table_refusals.h"
#include "common/ui/guard.h"
#include "frontdesk/bookings/booking_screen.h"
#include "frontdesk/bookings/bookings.h"
#include "frontdesk/checkout/checkout_screen.h"
#include "frontdesk/ordering/ordering_screen.h"
#include "frontdesk/shell/ordering_desk.h"
#include "frontdesk/shell/table_life_desk.h"
#include "frontdesk/table_life/reagain_screen.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/register_screen.h"
#include "frontdesk/tables/table_state.h"
#include "frontdesk/tables/work_screen.h"

#include "common/ui/tool_strip.h"

#include <QGuiApplication>
#include <QToolButton>

namespace sorrel::frontdesk {

namespace {

// The hourglass while a bill is read and recomputed.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

const QString& kTableOperation = tables::kTableOperationPermission;
const QString& kOpening = tables::kOpeningPermission;

} // namespace

TableDesk::TableDesk(const FrontDeskContext& context, QObject* parent) : QObject(parent), context_(context) {
    board_ = new BoardScreen(context_, context_.host);
    register_ = new RegisterScreen(context_, context_.host);
    work_ = new WorkScreen(context_, context_.host);
    checkout_ = new CheckoutScreen(context_, context_.host);
    actions_ = new TableLifeDesk(context_, work_, this);
    reagain_ = new ReagainScreen(context_, context_.host);
    bookings_ = new BookingScreen(context_, context_.host);
    for (QWidget* screen : std::initializer_list<QWidget*>{register_, work_, checkout_, reagain_, bookings_})
        screen->hide();
    ordering_ = new OrderingDesk(context_, work_, this);

    ui::connectGuarded(board_, &BoardScreen::tableChosen, this, &TableDesk::choose);
    ui::connectGuarded(register_, &RegisterScreen::opened, work_, &WorkScreen::present);
    ui::connectGuarded(register_, &RegisterScreen::closed, board_, &BoardScreen::returnFrom);
    ui::connectGuarded(work_, &WorkScreen::left, board_, &BoardScreen::returnFrom);
    ui::connectGuarded(work_->toolbar()->button(tables::work_tool::kCheckout), &QToolButton::clicked, this,
                       &TableDesk::checkOut);
    ui::connectGuarded(checkout_, &CheckoutScreen::settled, board_, &BoardScreen::returnFrom);
    ui::connectGuarded(checkout_, &CheckoutScreen::wentBack, this, &TableDesk::continueAt);
    ui::connectGuarded(checkout_, &CheckoutScreen::tableLost, board_, &BoardScreen::returnFrom);
    ui::connectGuarded(ordering_->screen(), &ordering::OrderingScreen::tableLost, board_,
                       &BoardScreen::returnFrom);
    ui::connectGuarded(actions_, &TableLifeDesk::moved, board_, &BoardScreen::reveal);
    ui::connectGuarded(actions_, &TableLifeDesk::finished, board_, &BoardScreen::returnFrom);
    ui::connectGuarded(board_, &BoardScreen::bookingRequested, this, &TableDesk::book);
    ui::connectGuarded(board_, &BoardScreen::reverseRequested, reagain_, &ReagainScreen::start);
    ui::connectGuarded(reagain_, &ReagainScreen::finished, board_, &BoardScreen::returnFrom);
    ui::connectGuarded(bookings_, &BookingScreen::finished, board_, &BoardScreen::returnFrom);
}

void TableDesk::checkOut() {
    if (!context_.session.limite(checkout::kCheckoutPermission)) return;
    const WaitCursor hourglass;
    checkout_->start(work_->work().table.code);
}

// Back from checkout to the table's work screen, its bill as the database holds it now.
void TableDesk::continueAt(const QString& tableCode) {
    try {
        const WaitCursor hourglass;
        work_->present(tables::continueTable(context_.db, tableCode, billing::BillSettings::load(context_.db),
                                             context_.clock));
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        board_->returnFrom(tableCode);
    }
}

void TableDesk::book(const QString& tableCode) {
    if (!context_.session.limite(bookings::kBookingPermission)) return;
    if (const std::optional<tables::BoardTable> table = tables::loadBoardTable(context_.db, tableCode))
        bookings_->start(*table);
}

void TableDesk::choose(const QString& tableCode) {
    if (!businessDayOpen(context_.db)) {
        messages::information(kDayNotStartedMessage);
        return;
    }
    if (!context_.session.limite(kTableOperation)) return;
    // The board's copy may be a few seconds old: what the database holds now decides, and a
    // table that changed meanwhile is shown as it is before anything is done to it.
    const std::optional<tables::BoardTable> seen = board_->tables().selected();
    const std::optional<tables::BoardTable> now = tables::loadBoardTable(context_.db, tableCode);
    if (!now || !seen || seen->code != tableCode || seen->state != now->state) {
        messages::information(tables::tableChangedElsewhereMessage(tableCode));
        board_->requery();
        return;
    }
    try {
        switch (tables::choiceFor(now->state)) {
        case tables::TableChoice::Register:
            if (context_.session.limite(kOpening)) register_->start(*now);
            return;
        case tables::TableChoice::Continue: {
            const WaitCursor hourglass;
            work_->present(tables::continueTable(context_.db, tableCode,
                                                 billing::BillSettings::load(context_.db), context_.clock));
            return;
        }
        case tables::TableChoice::ShowSettled: {
            const WaitCursor hourglass;
            work_->present(tables::settledTable(context_.db, tableCode));
            return;
        }
        case tables::TableChoice::Nothing:
            return;
        }
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        board_->requery();
    }
}

} // namespace sorrel::frontdesk
