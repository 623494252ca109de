// The demo venue with its first business day open, for the table service's tests on every
// engine, and the few look-ups those tests share.
#pragma once

#include "common/business_day.h"
#include "common/clock.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/opening.h"
#include "tests/support/test_database.h"

namespace sorrel::test {

class VenueTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        scratch_ = std::make_unique<ScratchDatabase>(GetParam(), ScratchDatabase::Contents::DemoVenue);
        startDay(db(), clock);
    }
    Database& db() { return scratch_->db(); }
    ScratchDatabase& scratch() { return *scratch_; }

    tables::BoardTable table(const QString& code) { return *tables::loadBoardTable(db(), code); }
    QString stateOf(const QString& code) { return table(code).state; }
    int counter() { return db().scalar(QStringLiteral("SELECT auto_recn FROM SetupPay")).toInt(); }
    int count(const QString& from) {
        return db().scalar(QStringLiteral("SELECT count(*) FROM ") + from).toInt();
    }
    void setState(const QString& code, const QString& state) {
        db().exec(QStringLiteral("UPDATE TableList SET tabl_stat_code = ? WHERE tabl_code = ?"),
                  {state, code});
    }
    int addBooking(const QString& code, const QString& name, int guests) {
        db().exec(QStringLiteral("INSERT INTO bookin (tabl_code, book_name, book_coun, book_time, oper_code) "
                                 "VALUES (?, ?, ?, ?, '02')"),
                  {code, name, guests, clock.now().addSecs(3600)});
        setState(code, QStringLiteral("5"));
        return db().scalar(QStringLiteral("SELECT max(book_code) FROM bookin")).toInt();
    }
    // The register screen's record for `code` with a party typed in, opened on `on`.
    billing::GuestRecord typed(Database& on, const QString& code, int guests, const QString& name = {}) {
        billing::GuestRecord guest =
            tables::newGuestRecord(on, *tables::loadBoardTable(on, code), "1", clock);
        guest.tabl_gues_coun = guests;
        guest.tabl_gues_name = name;
        return guest;
    }
    billing::GuestRecord open(const QString& code, int guests, const QString& name = {}) {
        return tables::openTable(db(), typed(db(), code, guests, name), billing::BillSettings::load(db()),
                                 clock, {});
    }

    FixedClock clock{QDateTime(QDate(2024, 5, 2), QTime(18, 0))};

  private:
    std::unique_ptr<ScratchDatabase> scratch_;
};

} // namespace sorrel::test
