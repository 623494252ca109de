// Opening a table (开台): the new guest record as the register screen starts it, the table's
// bookings and taking one over, the opening transaction, and cancelling the register screen.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/progress.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/guest_record.h"
#include "frontdesk/tables/board_tables.h"

#include <optional>

namespace sorrel::tables {

inline const QString kOpenTableCode = QStringLiteral("B100002");
// The permissions of choosing a table on the board and of opening one.
inline const QString kTableOperationPermission = QStringLiteral("DP");
inline const QString kOpeningPermission = QStringLiteral("BI");
inline const QString kTakeOverBookingQuestion =
    QStringLiteral("是否将[预订信息]加入到[开台信息]中，请确定操作!");

struct Booking {
    int code = 0;
    QString tableCode;
    QString name;
    int count = 0;
    QDateTime time;
    QString phone;
    QString note;
    QString operCode;
    QString operName;
};

// The bookings of one table (of every table without a code), by booking time.
QList<Booking> loadBookings(Database& db, const std::optional<QString>& tableCode);
// Whether at least one booking waits for table `tableCode`.
bool hasBookings(Database& db, const QString& tableCode);

struct ConsMode {
    QString code;
    QString name;
};
// The consumption modes the register screen offers, by code.
QList<ConsMode> loadConsModes(Database& db);

// The guest record the register screen starts with: the counter's next number (provisional:
// the opening draws the real one), the table, its department and type, the type's mode and
// that mode's consumption type, the shift `shiftCode` of this workstation's login, opened now.
billing::GuestRecord newGuestRecord(Database& db, const BoardTable& table, const QString& shiftCode,
                                    const Clock& clock);

// "预订转入": the party, its name and the booking's operator go into the record.
void takeOverBooking(billing::GuestRecord& guest, const Booking& booking);

// The opening, in one transaction: re-reads the table and refuses (StepRefused) unless it is
// still free or booked; deletes the taken-over booking (refused when another workstation took
// or deleted it); draws the bill number; applies the consumption mode for the typed party;
// saves the guest record; puts the table in use with the bill's number and board copies.
// Any other failure rolls everything back and throws CodedFailure B100002. Answers the record
// as saved. `progress` runs from 0 to 100 as the steps go.
billing::GuestRecord openTable(Database& db, const billing::GuestRecord& typed,
                               const billing::BillSettings& settings, const Clock& clock,
                               std::optional<int> takenBooking, const ProgressReport& progress = {});

// "回退" on the register screen: nothing of the record is saved; a booked table with no booking
// left becomes free. A table another workstation opened meanwhile is left as it is.
void cancelRegistration(Database& db, const QString& tableCode);

} // namespace sorrel::tables
