// The booking screen (预订): the bookings of the board's table in the entry mode ("预订管理"),
// with the fields of the selected booking, add, delete, save and cancel; every booking of the
// venue in the search mode ("查询"), with its criteria; "保存回退" back to the board.
#pragma once

#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/opening.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTimeEdit;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
} // namespace sorrel::ui

namespace sorrel::bookings {

namespace booking_tool {
inline constexpr char kAdd[] = "toolb_BookAdd";
inline constexpr char kDelete[] = "toolb_BookDelete";
inline constexpr char kSave[] = "toolb_BookSave";
inline constexpr char kCancel[] = "toolb_BookCancel";
inline constexpr char kReset[] = "toolb_BookReset";
inline constexpr char kRunSearch[] = "toolb_BookRunSearch";
inline constexpr char kSaveBack[] = "toolb_BookSaveBack";
inline constexpr char kHelp[] = "toolb_BookHelp";
inline constexpr char kEntryMode[] = "toolb_BookEntryMode";
inline constexpr char kSearchMode[] = "toolb_BookSearchMode";
} // namespace booking_tool

class BookingScreen : public QWidget {
    Q_OBJECT
  public:
    BookingScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Shows the screen for `table` in the entry mode, the pickers at now, the focus on the name.
    void start(const tables::BoardTable& table);

    ui::ToolStrip* toolbar() const { return toolbar_; }
    ui::TextGrid* entryList() const { return entryGrid_; }
    ui::TextGrid* searchList() const { return searchGrid_; }
    bool searching() const { return searching_; }

  signals:
    void finished(const QString& tableCode);

  private:
    void showEntryMode();
    void showSearchMode();
    void listTable(std::optional<int> select);
    void showBooking(int row);
    void add();
    bool save();
    void cancel();
    void remove();
    void saveAndReturn();
    void runSearch();
    void resetSearch();
    void listFound(const QList<tables::Booking>& found);
    void setPickers(const QDateTime& time);
    tables::Booking typed() const;

    const frontdesk::FrontDeskContext& context_;
    tables::BoardTable table_;
    QList<tables::Booking> listed_; // this table's bookings
    QList<tables::Booking> all_;    // every booking, for the search
    tables::Booking editing_;       // the booking the fields show; code 0 for a new one
    bool dirty_ = false;
    bool searching_ = false;
    ui::ToolStrip* toolbar_;
    QWidget* modes_;
    QWidget* entry_;
    QWidget* search_;
    ui::TextGrid* entryGrid_;
    ui::TextGrid* searchGrid_;
    QLabel* tableName_;
    QLineEdit* name_;
    QLineEdit* count_;
    QDateEdit* date_;
    QTimeEdit* time_;
    QLineEdit* phone_;
    QLineEdit* note_;
    QComboBox* staff_;
    QCheckBox* byDate_;
    QDateEdit* searchDate_;
    QLineEdit* searchGuest_;
    QLineEdit* searchPhone_;
    QLineEdit* searchStaff_;
    QLineEdit* searchTable_;
};

} // namespace sorrel::bookings
