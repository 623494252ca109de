// The register screen (pnl_Register): a free or booked table about to be opened. The operator
// types the party's details or takes over one of the table's bookings and opens the table with
// "开台 +"; "回退" goes back to the board without saving anything.
#pragma once

#include "frontdesk/billing/guest_record.h"
#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/table_work.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
} // namespace sorrel::ui

namespace sorrel::tables {

namespace register_tool {
inline constexpr char kOpen[] = "toolb_Open";
inline constexpr char kMember[] = "toolb_Member";
inline constexpr char kTakeBooking[] = "toolb_BookIn";
inline constexpr char kCancel[] = "toolb_RegBack";
inline constexpr char kHelp[] = "toolb_RegHelp";
} // namespace register_tool

class RegisterScreen : public QWidget {
    Q_OBJECT
  public:
    RegisterScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Shows the screen for `table` as the current panel: a new guest record, the table's
    // bookings, the focus on 手工单号.
    void start(const tables::BoardTable& table);

    ui::ToolStrip* toolbar() const { return toolbar_; }
    ui::TextGrid* bookingList() const { return bookings_; }
    const billing::GuestRecord& guest() const { return guest_; }

  signals:
    void opened(const tables::WorkTable& work);
    // Cancelled, or refused because another workstation changed the table: back to the board.
    void closed(const QString& tableCode);

  private:
    void open();
    void takeOverBooking();
    void cancel();
    void showBookings();

    const frontdesk::FrontDeskContext& context_;
    tables::BoardTable table_;
    billing::GuestRecord guest_;
    QList<tables::Booking> listed_;
    std::optional<tables::Booking> taken_;
    ui::ToolStrip* toolbar_;
    QLabel* code_;
    QLabel* name_;
    QLabel* department_;
    QLineEdit* userNumber_;
    QLineEdit* guests_;
    QLineEdit* guestName_;
    QComboBox* mode_;
    QLineEdit* remark_;
    ui::TextGrid* bookings_;
};

} // namespace sorrel::tables
