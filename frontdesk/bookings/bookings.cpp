#include "frontdesk/bookings/bookings.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/tables/table_refusals.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::bookings {

QDateTime bookingTime(const QDate& date, const QTime& time) {
    return QDateTime(date, QTime(time.hour(), time.minute(), time.second()));
}

bool bookingTimeSet(const QDateTime& time) {
    return time.isValid() && time >= QDateTime(QDate(1900, 1, 1), QTime(0, 0));
}

QList<tables::Booking> searchBookings(const QList<tables::Booking>& listed, const BookingSearch& search) {
    const auto holds = [](const QString& value, const QString& wanted) {
        const QString text = wanted.trimmed();
        return text.isEmpty() || value.contains(text);
    };
    QList<tables::Booking> found;
    for (const tables::Booking& b : listed) {
        if (search.date && (!b.time.isValid() || b.time.date() != *search.date)) continue;
        if (holds(b.name, search.guest) && holds(b.phone, search.phone) && holds(b.operCode, search.staff) &&
            holds(b.tableCode, search.table))
            found << b;
    }
    return found;
}

QList<BookingStaff> loadBookingStaff(Database& db) {
    const RecordSet rs =
        db.query(QStringLiteral("SELECT oper_code, oper_name FROM operatorlist ORDER BY oper_code"));
    QList<BookingStaff> staff;
    for (int i = 0; i < rs.rowCount(); ++i)
        staff.append({rs.text(i, "oper_code"), rs.text(i, "oper_name")});
    return staff;
}

int saveBooking(Database& db, const tables::Booking& b) {
    const QVariant time = bookingTimeSet(b.time) ? QVariant(toDbDateTime(b.time)) : QVariant();
    const QVariantList values{b.tableCode, b.name, b.count, time, b.phone, b.note, b.operCode};
    if (b.code != 0) {
        if (db.exec(QStringLiteral(
                        "UPDATE bookin SET tabl_code = ?, book_name = ?, book_coun = ?, book_time = ?, "
                        "book_tele = ?, book_rema = ?, oper_code = ? WHERE book_code = ?"),
                    values + QVariantList{b.code}) != 1)
            throw StepRefused(tables::bookingGoneMessage());
        return b.code;
    }
    Transaction tx(db);
    db.exec(QStringLiteral(
                "INSERT INTO bookin (tabl_code, book_name, book_coun, book_time, book_tele, book_rema, "
                "oper_code) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            values);
    // Under the transaction's write lock no other workstation adds one in between.
    const int code = db.scalar(QStringLiteral("SELECT max(book_code) FROM bookin")).toInt();
    tx.commit();
    return code;
}

void deleteBooking(Database& db, int code) {
    db.exec(QStringLiteral("DELETE FROM bookin WHERE book_code = ?"), {code});
}

QString settleBookedState(Database& db, const QString& tableCode) {
    using namespace tables::TableState;
    Transaction tx(db);
    const QString state =
        db.scalar(QStringLiteral("SELECT tabl_stat_code FROM TableList WHERE tabl_code = ?") +
                      db.lockRowsClause(),
                  {tableCode})
            .toString();
    QString now = state;
    if (tables::moveAllowed(tables::TableMove::Book, state)) {
        now = tables::hasBookings(db, tableCode) ? kBooked : kFree;
        tables::moveHeldTable(db, tableCode, state, tables::TableMove::Book);
    }
    tx.commit();
    return now;
}

} // namespace sorrel::bookings
