#include "frontdesk/billing/bill_calculator.h"

#include "common/db_datetime.h"
#include "common/money.h"
#include "frontdesk/billing/bill_lines.h"
#include "frontdesk/billing/room_charge.h"

#include <algorithm>
#include <stdexcept>

namespace sorrel::billing {

namespace {

// The order-line rates are part of the bill: they change together with the record the caller
// posts, or not at all.
void requireTransaction(Database& db, const char* operation) {
    if (!db.inTransaction())
        throw std::logic_error(std::string(operation) +
                               " changes order lines and needs the caller's transaction");
}

QList<TimeBand> readTimeBands(Database& db, const QString& modeCode) {
    const RecordSet rows = db.query(QStringLiteral("SELECT cons_time_star, cons_time_end, cons_time_mone "
                                                   "FROM ConsTimeMode WHERE cons_mode_code = ? "
                                                   "ORDER BY cons_time_code"),
                                    {modeCode});
    QList<TimeBand> bands;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const RecordSet::Row row = rows.row(i);
        bands << TimeBand{fromDbDateTime(row.value(QStringLiteral("cons_time_star"))).time(),
                          fromDbDateTime(row.value(QStringLiteral("cons_time_end"))).time(),
                          row.number(QStringLiteral("cons_time_mone"))};
    }
    return bands;
}

// The minimum charge applies when there is one and the food and drink do not exceed it (at exactly
// the minimum it still applies). A bill without a minimum is charged on its lines even before
// anything is ordered: otherwise a room's service would be nothing until the first drink and then
// jump by the service on the whole room fee.
bool minimumApplies(const GuestRecord& guest) {
    return compareMoney(guest.tabl_gues_low, 0) > 0 &&
           compareMoney(guest.tabl_gues_low, guest.tabl_gues_dish) >= 0;
}

// The larger of food and drink and the minimum charge.
double chargedConsumption(const GuestRecord& guest) {
    return compareMoney(guest.tabl_gues_low, guest.tabl_gues_dish) >= 0 ? guest.tabl_gues_low
                                                                        : guest.tabl_gues_dish;
}

// Service on the minimum charge while the minimum applies (the room charge then bears none),
// otherwise on the lines that bear service and the room; then the receivable.
void setServiceAndReceivable(GuestRecord& guest, const BillSettings& settings) {
    const double base = minimumApplies(guest)
                            ? guest.tabl_gues_low + guest.tabl_gues_serv_spec
                            : guest.tabl_gues_serv_main + guest.tabl_gues_serv_spec + guest.tabl_gues_room;
    guest.tabl_gues_serv = settings.intWay(base * guest.cons_mode_serv / 100.0);
    guest.tabl_gues_shou = settings.intWay(chargedConsumption(guest) + guest.tabl_gues_spec +
                                           guest.tabl_gues_room + guest.tabl_gues_serv);
}

// Every line bears no service (100), then the mode's rate goes to the lines whose class bears
// service, set-meal components excepted.
void setLineServiceRates(Database& db, const GuestRecord& guest) {
    db.exec(QStringLiteral("UPDATE TableConsList SET serv_perc = 100 WHERE tabl_gues_auto_recn = ?"),
            {guest.tabl_gues_auto_recn});
    if (guest.cons_mode_serv <= 0) return;
    db.exec(QStringLiteral("UPDATE TableConsList SET serv_perc = ? WHERE tabl_gues_auto_recn = ? "
                           "AND COALESCE(grou_code, '') = '' AND EXISTS (SELECT 1 FROM classlist c "
                           "WHERE c.clas_code = TableConsList.clas_code AND c.clas_allo_serv <> 0)"),
            {guest.cons_mode_serv, guest.tabl_gues_auto_recn});
}

// The whole-bill rate on every line; a scheme's rate for its classes (the scheme's first row of
// a class, should it have several; a row without a rate discounts nothing); 100 on the lines
// whose class takes no discount and on set-meal components.
void setLineDiscountRates(Database& db, const GuestRecord& guest, int rate) {
    const int bill = guest.tabl_gues_auto_recn;
    db.exec(QStringLiteral("UPDATE TableConsList SET disc_clas_perc = ? WHERE tabl_gues_auto_recn = ?"),
            {rate, bill});
    const QString scheme = guest.disc_code.trimmed();
    if (!scheme.isEmpty() && scheme != QStringLiteral("N")) {
        db.exec(QStringLiteral(
                    "UPDATE TableConsList SET disc_clas_perc = (SELECT COALESCE(d.disc_clas_perc, 100) "
                    "FROM DiscItem d WHERE d.disc_ID = (SELECT MIN(e.disc_ID) FROM DiscItem e "
                    "WHERE e.disc_code = ? AND e.clas_code = TableConsList.clas_code)) "
                    "WHERE tabl_gues_auto_recn = ? AND EXISTS (SELECT 1 FROM DiscItem f "
                    "WHERE f.disc_code = ? AND f.clas_code = TableConsList.clas_code)"),
                {scheme, bill, scheme});
    }
    db.exec(QStringLiteral("UPDATE TableConsList SET disc_clas_perc = 100 WHERE tabl_gues_auto_recn = ? "
                           "AND (COALESCE(grou_code, '') <> '' OR EXISTS (SELECT 1 FROM classlist c "
                           "WHERE c.clas_code = TableConsList.clas_code AND c.clas_allo_disc = 0))"),
            {bill});
}

} // namespace

void ChangeConsType(Database& db, GuestRecord& guest, const BillSettings& settings, const Clock& clock,
                    int guests) {
    if (guests < 0) throw std::invalid_argument("the number of guests cannot be negative");
    // Refused before anything changes: a refused mode change leaves the bill as it was.
    if (guest.hasBillNumber()) requireTransaction(db, "ChangeConsType");
    guest.tabl_gues_low = 0;
    guest.tabl_gues_room = 0;
    guest.tabl_gues_unit = 0;

    const RecordSet modes =
        db.query(QStringLiteral("SELECT cons_type_code, cons_mode_mone, cons_mode_serv FROM ConsModeList "
                                "WHERE cons_mode_code = ?"),
                 {guest.cons_mode_code});
    double unit = 0;
    if (modes.isEmpty()) {
        guest.cons_type_code.clear();
        guest.cons_mode_serv = 0;
    } else {
        guest.cons_type_code = modes.text(0, QStringLiteral("cons_type_code")).trimmed();
        guest.cons_mode_serv = int(modes.integer(0, QStringLiteral("cons_mode_serv")));
        unit = modes.number(0, QStringLiteral("cons_mode_mone"));
    }

    if (guest.hasBillNumber()) setLineServiceRates(db, guest);

    const QString& type = guest.cons_type_code;
    const QTime now = clock.now().time();
    if (type == ConsType::kTimeBands) {
        const TimeBand* band = bandAt(readTimeBands(db, guest.cons_mode_code), now);
        guest.tabl_gues_room = band ? std::max(0.0, band->pricePerHour) : 0;
    } else if (type == ConsType::kMinimum || type == ConsType::kMinimumPerGuest) {
        guest.tabl_gues_unit = unit;
        guest.tabl_gues_low = type == ConsType::kMinimum ? unit : settings.intWay(guests * unit);
    } else if (type == ConsType::kStartedHours || type == ConsType::kRoomFee || type == ConsType::kDaily) {
        guest.tabl_gues_unit = unit;
        guest.tabl_gues_room = unit;
    } else if (type == ConsType::kTeaPerGuest) {
        guest.tabl_gues_unit = unit;
        guest.tabl_gues_room = settings.intWay(guests * unit);
    } else if (type == ConsType::kDailyHalfDay) {
        guest.tabl_gues_unit = unit;
        guest.tabl_gues_room = isHalfDayAfternoon(now) ? settings.intWay(unit * 0.5) : unit;
    } else if (type == ConsType::kExactHours) {
        guest.tabl_gues_unit = unit;
    }
    setServiceAndReceivable(guest, settings);
}

void ReTotal(Database& db, GuestRecord& guest, const BillSettings& settings, const Clock& clock) {
    const QString& type = guest.cons_type_code;
    const QDateTime now = clock.now();
    const QDateTime& opened = guest.tabl_gues_time;
    if (type == ConsType::kStartedHours) {
        const double hours = startedHours(stayHours(opened, now), settings.sumRounding);
        guest.tabl_gues_room = settings.intWay(guest.tabl_gues_unit * hours);
    } else if (type == ConsType::kExactHours) {
        guest.tabl_gues_room = settings.intWay(guest.tabl_gues_unit * stayHours(opened, now));
    } else if (type == ConsType::kDaily || type == ConsType::kDailyHalfDay) {
        const double days = stayDays(opened, now, type == ConsType::kDailyHalfDay);
        guest.tabl_gues_room = settings.intWay(guest.tabl_gues_unit * days);
    } else if (type == ConsType::kTimeBands) {
        guest.tabl_gues_room = opened.isValid()
                                   ? settings.intWay(timeBandCharge(readTimeBands(db, guest.cons_mode_code),
                                                                    opened.time(), now.time()))
                                   : 0;
    }
    setServiceAndReceivable(guest, settings);
}

void TotalDisc(Database& db, GuestRecord& guest, const BillSettings& settings, int typedRate) {
    if (!guest.hasBillNumber()) return;
    if (typedRate < 0 || typedRate > 100)
        throw std::invalid_argument("a discount rate is a percentage from 0 to 100");
    requireTransaction(db, "TotalDisc");
    const int rate = typedRate == 0 ? 100 : typedRate;
    setLineDiscountRates(db, guest, rate);

    double onLines = 0;   // Dm: discount on the ordinary lines
    double onSpecial = 0; // Ds: discount on the special lines
    for (const BillLine& line : readBillLines(db, guest.tabl_gues_auto_recn)) {
        const double off = line.amount * (100 - line.discountRate) / 100.0;
        (line.special ? onSpecial : onLines) += off;
    }
    const double offBill = (100 - rate) / 100.0;
    // While the minimum applies, the ordinary lines are not what the guest pays for: the
    // whole-bill rate is taken on the minimum instead.
    guest.tabl_gues_disc =
        minimumApplies(guest)
            ? settings.intWay((guest.tabl_gues_low + guest.tabl_gues_room + guest.tabl_gues_serv) * offBill +
                              onSpecial)
            : settings.intWay(onLines + onSpecial + (guest.tabl_gues_room + guest.tabl_gues_serv) * offBill);
    guest.tabl_gues_shou =
        settings.intWay(chargedConsumption(guest) + guest.tabl_gues_spec + guest.tabl_gues_room +
                        guest.tabl_gues_serv - guest.tabl_gues_disc);
    guest.tabl_gues_fact = guest.tabl_gues_shou;
}

void TotalTax(GuestRecord& guest, const BillSettings& settings, double guests) {
    if (guests < 0) throw std::invalid_argument("the number of guests cannot be negative");
    guest.tabl_gues_tax = settings.taxType == kTaxByRate
                              ? settings.intWay(guest.tabl_gues_shou * settings.taxPercent / 100.0)
                              : settings.intWay(roundHalfEven(settings.taxPerGuest) * guests);
    guest.tabl_gues_shou = settings.intWay(guest.tabl_gues_shou + guest.tabl_gues_tax);
    guest.tabl_gues_fact = guest.tabl_gues_shou;
}

} // namespace sorrel::billing
