// Bookings (预订): keeping a table's bookings, finding bookings across the venue, and the
// table's state after the booking screen ("保存回退"): a free table with bookings shows as booked,
// a booked one whose bookings are gone is free again, an occupied one keeps its state.
#pragma once

#include "common/db/database.h"
#include "frontdesk/tables/opening.h"

#include <QDate>
#include <optional>

namespace sorrel::bookings {

inline const QString kBookingPermission = QStringLiteral("BI");
inline const QString kDeleteQuestion = QStringLiteral("是否删除所选的[预订信息]，删除后将不能恢复，请慎重!");

// The booking time the two pickers make: the date of the one, the time of day of the other.
QDateTime bookingTime(const QDate& date, const QTime& time);
// A booking time before 1900-01-01 00:00:00 counts as not set.
bool bookingTimeSet(const QDateTime& time);

// The search criteria; an empty (or blank) text or no date sets no condition.
struct BookingSearch {
    std::optional<QDate> date = std::nullopt;
    QString guest = {};
    QString phone = {};
    QString staff = {};
    QString table = {};
};
// The listed bookings that meet every criterion: the booking day, and the texts contained in
// the guest name, phone, staff code and table code.
QList<tables::Booking> searchBookings(const QList<tables::Booking>& listed, const BookingSearch& search);

struct BookingStaff {
    QString code;
    QString name;
};
// The operators a booking can be taken by, by code.
QList<BookingStaff> loadBookingStaff(Database& db);

// Saves `booking`: a new one (code 0) is added and its code answered; a stored one is updated,
// refused (StepRefused) when another workstation took it over or deleted it meanwhile.
int saveBooking(Database& db, const tables::Booking& booking);
// Deletes booking `code`; one already gone is no error.
void deleteBooking(Database& db, int code);

// "保存回退": a free or booked table becomes booked when a booking is left for it, free when none
// is; any other state (in use, settled, re-opened, disabled) stays. Answers the table's state.
QString settleBookedState(Database& db, const QString& tableCode);

} // namespace sorrel::bookings
