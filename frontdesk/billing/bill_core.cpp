#include "frontdesk/billing/bill_core.h"

#include "common/money.h"
#include "frontdesk/billing/consumption_types.h"

#include <algorithm>
#include <stdexcept>

namespace sorrel::billing {

namespace {

// Lines returned beyond what was ordered (after a merge or a correction) can bring a part of the
// bill below nothing. Such a part bears no service and no discount: a negative service amount or
// a negative discount would raise what the guest pays for a return.
double billable(double part) {
    return std::max(0.0, part);
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
                            ? guest.tabl_gues_low + billable(guest.tabl_gues_serv_spec)
                            : billable(guest.tabl_gues_serv_main) + billable(guest.tabl_gues_serv_spec) +
                                  guest.tabl_gues_room;
    guest.tabl_gues_serv = settings.intWay(base * guest.cons_mode_serv / 100.0);
    guest.tabl_gues_shou = settings.intWay(chargedConsumption(guest) + guest.tabl_gues_spec +
                                           guest.tabl_gues_room + guest.tabl_gues_serv);
}

// The mode's rate on the lines whose class bears service, set-meal components excepted; every
// other line bears none (100).
int serviceRateOf(const BillLine& line, int modeRate) {
    return modeRate > 0 && line.classKnown && line.service && !line.setMealPart ? modeRate : 100;
}

// A set-meal component and a line whose class may not be discounted pay in full; a scheme's
// rate for the line's class replaces the whole-bill rate.
int discountRateOf(const BillLine& line, int billRate, const SchemeRates* scheme) {
    if (line.setMealPart || (line.classKnown && !line.discount)) return 100;
    if (scheme) {
        const auto found = scheme->constFind(line.classCode);
        if (found != scheme->cend()) return *found;
    }
    return billRate;
}

bool isScheme(const QString& discCode) {
    const QString code = discCode.trimmed();
    return !code.isEmpty() && code != QStringLiteral("N");
}

} // namespace

BillSnapshot withLineSums(BillSnapshot bill, const BillSettings& settings, DishTotalFrom from) {
    double dish = 0;
    double special = 0;
    double servMain = 0;
    double servSpec = 0;
    for (const BillLine& line : bill.lines) {
        if (!line.classKnown) continue;
        const double value = line.value();
        if (line.special) {
            special += value;
            if (line.service) servSpec += value;
        } else {
            dish += from == DishTotalFrom::RoundedLines ? line.amount : value;
            if (line.service) servMain += value;
        }
    }
    GuestRecord& guest = bill.bill;
    guest.tabl_gues_dish = settings.intWay(dish);
    guest.tabl_gues_spec = settings.intWay(special);
    guest.tabl_gues_serv_main = settings.intWay(servMain);
    guest.tabl_gues_serv_spec = settings.intWay(servSpec);
    return bill;
}

BillSnapshot withMode(BillSnapshot bill, int guests, const QDateTime& now, const BillSettings& settings) {
    if (guests < 0) throw std::invalid_argument("the number of guests cannot be negative");
    GuestRecord& guest = bill.bill;
    const ConsMode& mode = bill.mode;
    guest.cons_type_code = mode.typeCode.trimmed();
    guest.cons_mode_serv = mode.servicePercent;
    if (guest.hasBillNumber())
        for (BillLine& line : bill.lines)
            line.serviceRate = serviceRateOf(line, mode.servicePercent);
    const ModeStart start = consTypeRule(guest.cons_type_code).start(mode, guests, now.time(), settings);
    guest.tabl_gues_low = start.low;
    guest.tabl_gues_room = start.room;
    guest.tabl_gues_unit = start.unit;
    setServiceAndReceivable(guest, settings);
    return bill;
}

BillSnapshot withStay(BillSnapshot bill, const QDateTime& now, const BillSettings& settings) {
    GuestRecord& guest = bill.bill;
    const Stay stay{guest.tabl_gues_unit, bill.mode.bands, guest.tabl_gues_time, now};
    if (const std::optional<double> room = consTypeRule(guest.cons_type_code).afterStay(stay, settings))
        guest.tabl_gues_room = *room;
    setServiceAndReceivable(guest, settings);
    return bill;
}

BillSnapshot withDiscount(BillSnapshot bill, int typedRate, const BillSettings& settings) {
    GuestRecord& guest = bill.bill;
    if (!guest.hasBillNumber()) return bill;
    if (typedRate < 0 || typedRate > 100)
        throw std::invalid_argument("a discount rate is a percentage from 0 to 100");
    const int rate = typedRate == 0 ? 100 : typedRate;
    const SchemeRates* scheme = isScheme(guest.disc_code) ? &bill.schemeRates : nullptr;

    double onLines = 0;   // Dm: discount on the ordinary lines
    double onSpecial = 0; // Ds: discount on the special lines
    for (BillLine& line : bill.lines) {
        line.discountRate = discountRateOf(line, rate, scheme);
        if (!line.classKnown) continue;
        const double off = line.amount * (100 - line.discountRate) / 100.0;
        (line.special ? onSpecial : onLines) += off;
    }
    onLines = billable(onLines);
    onSpecial = billable(onSpecial);
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
    return bill;
}

BillSnapshot withTax(BillSnapshot bill, double guests, const BillSettings& settings) {
    if (guests < 0) throw std::invalid_argument("the number of guests cannot be negative");
    GuestRecord& guest = bill.bill;
    guest.tabl_gues_tax = settings.taxType == kTaxByRate
                              ? settings.intWay(guest.tabl_gues_shou * settings.taxPercent / 100.0)
                              : settings.intWay(roundHalfEven(settings.taxPerGuest) * guests);
    guest.tabl_gues_shou = settings.intWay(guest.tabl_gues_shou + guest.tabl_gues_tax);
    guest.tabl_gues_fact = guest.tabl_gues_shou;
    return bill;
}

} // namespace sorrel::billing
