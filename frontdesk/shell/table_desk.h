// The table service of the front desk: the board, the register screen and the work screen, and
// the roads between them. Choosing a table on the board acts on the state the database holds
// now: a table another workstation changed meanwhile is refused with a message and the board
// shows it as it is.
#pragma once

#include "frontdesk/context/front_desk_context.h"

#include <QObject>

namespace sorrel::tables {
class BoardScreen;
class RegisterScreen;
class WorkScreen;
} // namespace sorrel::tables
namespace sorrel::checkout {
class CheckoutScreen;
}
namespace sorrel::bookings {
class BookingScreen;
}
namespace sorrel::table_life {
class ReagainScreen;
}

namespace sorrel::frontdesk {

class OrderingDesk;
class TableLifeDesk;
using bookings::BookingScreen;
using checkout::CheckoutScreen;
using table_life::ReagainScreen;
using tables::BoardScreen;
using tables::RegisterScreen;
using tables::WorkScreen;

class TableDesk : public QObject {
    Q_OBJECT
  public:
    // The screens live in the context's host.
    TableDesk(const FrontDeskContext& context, QObject* parent);

    BoardScreen* board() const { return board_; }
    RegisterScreen* registerScreen() const { return register_; }
    WorkScreen* workScreen() const { return work_; }
    CheckoutScreen* checkoutScreen() const { return checkout_; }
    OrderingDesk* orderingDesk() const { return ordering_; }

    TableLifeDesk* workActions() const { return actions_; }
    ReagainScreen* reagainScreen() const { return reagain_; }
    BookingScreen* bookingScreen() const { return bookings_; }

  private:
    void choose(const QString& tableCode);
    void checkOut();
    void continueAt(const QString& tableCode);
    void book(const QString& tableCode);

    const FrontDeskContext& context_;
    BoardScreen* board_;
    RegisterScreen* register_;
    WorkScreen* work_;
    CheckoutScreen* checkout_;
    OrderingDesk* ordering_;
    TableLifeDesk* actions_;
    ReagainScreen* reagain_;
    BookingScreen* bookings_;
};

} // namespace sorrel::frontdesk
