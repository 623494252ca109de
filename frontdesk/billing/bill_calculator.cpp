#include "frontdesk/billing/bill_calculator.h"

#include "frontdesk/billing/bill_core.h"
#include "frontdesk/billing/bill_store.h"

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

} // namespace

void ChangeConsType(Database& db, GuestRecord& guest, const BillSettings& settings, const Clock& clock,
                    int guests) {
    // Refused before anything changes: a refused mode change leaves the bill as it was.
    if (guest.hasBillNumber()) requireTransaction(db, "ChangeConsType");
    // A bill not yet drawn has no lines.
    BillSnapshot bill{.bill = guest,
                      .lines = guest.hasBillNumber() ? readBillLines(db, guest.tabl_gues_auto_recn)
                                                     : QList<BillLine>{},
                      .mode = readConsMode(db, guest.cons_mode_code)};
    bill = withMode(std::move(bill), guests, clock.now(), settings);
    if (guest.hasBillNumber()) writeLineRates(db, guest.tabl_gues_auto_recn, bill.lines, LineRate::Service);
    guest = bill.bill;
}

void ReTotal(Database& db, GuestRecord& guest, const BillSettings& settings, const Clock& clock) {
    BillSnapshot bill{.bill = guest};
    if (consTypeRule(guest.cons_type_code).pricedByBands)
        bill.mode.bands = readTimeBands(db, guest.cons_mode_code);
    guest = withStay(std::move(bill), clock.now(), settings).bill;
}

void TotalDisc(Database& db, GuestRecord& guest, const BillSettings& settings, int typedRate) {
    if (!guest.hasBillNumber()) return;
    requireTransaction(db, "TotalDisc");
    BillSnapshot bill{.bill = guest,
                      .lines = readBillLines(db, guest.tabl_gues_auto_recn),
                      .schemeRates = readSchemeRates(db, guest.disc_code)};
    bill = withDiscount(std::move(bill), typedRate, settings);
    writeLineRates(db, guest.tabl_gues_auto_recn, bill.lines, LineRate::Discount);
    guest = bill.bill;
}

void TotalTax(GuestRecord& guest, const BillSettings& settings, double guests) {
    guest = withTax(BillSnapshot{.bill = guest}, guests, settings).bill;
}

} // namespace sorrel::billing
