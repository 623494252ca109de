#include "tests/support/billing_venue.h"

#include "common/db_datetime.h"
#include "common/money.h"

namespace sorrel::test {

void BillingVenue::setSettings(const QString& sumRounding, const QString& lineRounding,
                               const QString& taxType, double taxPercent, double taxPerGuest) {
    venueDb().exec(QStringLiteral("DELETE FROM SetupPay"));
    venueDb().exec(
        QStringLiteral("INSERT INTO SetupPay (pay_set_sum_int, pay_set_item_int, pay_set_tax_type, "
                       "pay_set_tax_perc, pay_set_tax_mone) VALUES (?, ?, ?, ?, ?)"),
        {sumRounding, lineRounding, taxType, taxPercent, taxPerGuest});
}

void BillingVenue::addClass(const QString& code, ClassRules rules) {
    venueDb().exec(QStringLiteral("INSERT INTO classlist (kind_code, clas_code, clas_name, clas_allo_disc, "
                                  "clas_allo_serv, clas_allo_spec) VALUES ('1', ?, ?, ?, ?, ?)"),
                   {code, code, int(rules.discount), int(rules.service), int(rules.special)});
}

void BillingVenue::addMode(const QString& code, const QString& type, double amount, int servicePercent) {
    venueDb().exec(QStringLiteral("INSERT INTO ConsModeList (cons_mode_code, cons_mode_name, cons_type_code, "
                                  "cons_mode_mone, cons_mode_serv) VALUES (?, ?, ?, ?, ?)"),
                   {code, code, type, amount, servicePercent});
}

void BillingVenue::addBand(const QString& mode, const QTime& start, const QTime& end, double pricePerHour) {
    venueDb().exec(QStringLiteral("INSERT INTO ConsTimeMode (cons_mode_code, cons_time_star, cons_time_end, "
                                  "cons_time_mone) VALUES (?, ?, ?, ?)"),
                   {mode, toDbTime(start), toDbTime(end), pricePerHour});
}

void BillingVenue::addSchemeRate(const QString& scheme, const QString& classCode, int percent) {
    venueDb().exec(
        QStringLiteral("INSERT INTO DiscItem (disc_code, clas_code, disc_clas_perc) VALUES (?, ?, ?)"),
        {scheme, classCode, percent});
}

billing::GuestRecord BillingVenue::openBill(int number, const QString& mode, const QDateTime& opened) {
    billing::GuestRecord guest;
    guest.tabl_gues_auto_recn = number;
    guest.tabl_code = QStringLiteral("A01");
    guest.cons_mode_code = mode;
    guest.tabl_gues_time = opened;
    guest.tabl_gues_use = true;
    guest.post(venueDb());
    return *billing::GuestRecord::load(venueDb(), number);
}

void BillingVenue::addLine(int bill, const QString& classCode, double quantity, double price, int typeFlag,
                           const QString& setMeal) {
    const QString menuType = QString::number(typeFlag == 1 ? 1 : typeFlag == -1 ? 2 : 3);
    venueDb().exec(
        QStringLiteral("INSERT INTO TableConsList (tabl_gues_auto_recn, tabl_code, clas_code, item_code, "
                       "menu_type_code, item_type_flag, tabl_cons_coun, item_unit_pric, tabl_cons_tota, "
                       "grou_code) VALUES (?, 'A01', ?, 'X', ?, ?, ?, ?, ?, ?)"),
        {bill, classCode, menuType, typeFlag, quantity, price,
         orderLineAmount(quantity, price, typeFlag, settings().lineRounding), setMeal});
}

QList<int> BillingVenue::lineRates(int bill, const char* column) {
    const RecordSet rows = venueDb().query(
        QStringLiteral("SELECT %1 FROM TableConsList WHERE tabl_gues_auto_recn = ? ORDER BY tabl_cons_ID")
            .arg(QLatin1String(column)),
        {bill});
    QList<int> rates;
    for (int i = 0; i < rows.rowCount(); ++i)
        rates << int(rows.integer(i, QString::fromLatin1(column)));
    return rates;
}

} // namespace sorrel::test
