// The table service of the front desk: the board, the register screen and the work screen, and
// the roads between them. Choosing a table on the board acts on the state the database holds
// now: a table another workstation changed meanwhile is refused with a message and the board
// shows it as it is.
#pragma once

#include "frontdesk/shell/front_desk_context.h"

#include <QObject>

namespace sorrel::ordering {
class OrderingDesk;
}

namespace sorrel::frontdesk {

class BoardScreen;
class CheckoutScreen;
class BookingScreen;
class ReagainScreen;
class RegisterScreen;
class WorkActions;
class WorkScreen;

class TableDesk : public QObject {
    Q_OBJECT
  public:
    // The screens live in the context's host.
    TableDesk(const FrontDeskContext& context, QObject* parent);

    BoardScreen* board() const { return board_; }
    RegisterScreen* registerScreen() const { return register_; }
    WorkScreen* workScreen() const { return work_; }
    CheckoutScreen* checkoutScreen() const { return checkout_; }
    ordering::OrderingDesk* orderingDesk() const { return ordering_; }

    WorkActions* workActions() const { return actions_; }
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
    ordering::OrderingDesk* ordering_;
    WorkActions* actions_;
    ReagainScreen* reagain_;
    BookingScreen* bookings_;
};

} // namespace sorrel::frontdesk
