// The demo venue with bills in every stage of a table's life, as ordering and checkout leave
// them: lines on an open bill, and a settled bill with its payments, member and
// credit charges and commission.
#pragma once

#include "common/db/transaction.h"
#include "common/money.h"
#include "common/settings_row.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/bill_store.h"
#include "frontdesk/billing/line_sums.h"
#include "frontdesk/checkout/checkout.h"
#include "tests/frontdesk/tables/venue_fixture.h"

namespace sorrel::test {

// What checkout charged a member card and a credit account.
struct Charges {
    double member = 0;
    double credit = 0;
};

class SettledVenue : public VenueTest {
  protected:
    // A committed line of class 热菜 with item note 少辣, rounded by the line rounding in force.
    void addLine(int bill, const QString& menuType, double quantity, double price) {
        const int flag = menuType == "1" ? 1 : menuType == "2" ? -1 : 0;
        const QString table = billing::GuestRecord::load(db(), bill)->tabl_code;
        db().exec(
            QStringLiteral("INSERT INTO TableConsList (tabl_gues_auto_recn, tabl_code, clas_code, item_code, "
                           "item_name, menu_type_code, item_type_flag, item_coun_flag, tabl_cons_coun, "
                           "item_unit_pric, tabl_cons_tota, cons_narr_code) VALUES "
                           "(?, ?, '102', '10201', '宫保鸡丁', ?, ?, 1, ?, ?, ?, '01')"),
            {bill, table, menuType, flag, quantity, price,
             orderLineAmount(quantity, price, flag, billing::BillSettings::load(db()).lineRounding)});
        billing::GuestRecord guest = *billing::GuestRecord::load(db(), bill);
        Transaction tx(db());
        billing::setLineSums(db(), guest, billing::BillSettings::load(db()));
        billing::ReTotal(db(), guest, billing::BillSettings::load(db()), clock);
        guest.post(db());
        tx.commit();
    }

    // Checkout as it leaves a bill, written by the settle step's own writer: the rest in cash, the
    // member card and credit account charged, commission to 王芳 (指  定), the lines settled, bill
    // and table "3".
    void settle(int bill, Charges charges = {}) {
        billing::GuestRecord guest = *billing::GuestRecord::load(db(), bill);
        guest.tabl_gues_fact = guest.tabl_gues_shou;
        guest.tabl_gues_time_end = clock.now();
        guest.tabl_gues_time_work = loadSettingsRow(db()).timeWork;
        guest.tabl_gues_stat = QStringLiteral("3");
        guest.oper_code = QStringLiteral("01");
        guest.oper_name = QStringLiteral("管理员");
        guest.orde_name = QStringLiteral("早班");
        guest.dept_name = QStringLiteral("大厅");
        guest.dedu_oper_code = QStringLiteral("002");
        guest.dedu_type = QStringLiteral("指  定");
        guest.dedu_mone = 10;
        guest.grou_code = QStringLiteral("02");
        guest.area_code = QStringLiteral("1");
        guest.tabl_gues_pay_narr = QStringLiteral("现金");
        if (charges.member > 0) {
            guest.memb_card_code = QStringLiteral("880001");
            guest.memb_name = QStringLiteral("林晓雯");
            guest.memb_mone = charges.member;
        }
        if (charges.credit > 0) {
            guest.hang_code = QStringLiteral("001");
            guest.hang_name = QStringLiteral("华联贸易");
            guest.hang_mone = charges.credit;
        }
        const QList<checkout::PaymentRow> payments{
            {QStringLiteral("Z"), QStringLiteral("现金"),
             guest.tabl_gues_fact - charges.member - charges.credit},
            {QStringLiteral("M"), QStringLiteral("会员卡"), charges.member},
            {QStringLiteral("H"), QStringLiteral("挂帐"), charges.credit}};
        const QList<billing::BillLine> lines = billing::readBillSnapshot(db(), guest).lines;
        Transaction tx(db());
        checkout::writeSettlement(db(), guest.tabl_code, stateOf(guest.tabl_code), guest, lines, payments,
                                  QStringLiteral("早班"));
        tx.commit();
    }

    // A bill opened on `table` with one line of 88 and settled.
    int settledBill(const QString& table, Charges charges = {}) {
        const int bill = open(table, 4, QStringLiteral("周先生")).tabl_gues_auto_recn;
        addLine(bill, "1", 1, 88);
        settle(bill, charges);
        return bill;
    }

    double memberBalance() {
        return db()
            .scalar(QStringLiteral("SELECT memb_surp FROM MemberList WHERE memb_card_code = '880001'"))
            .toDouble();
    }
    double creditOwed() {
        return db()
            .scalar(QStringLiteral("SELECT hang_gues_use FROM HangGues WHERE hang_gues_code = '001'"))
            .toDouble();
    }
    int rowsOf(const char* table, int bill) {
        return db()
            .scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE tabl_gues_auto_recn = ?")
                        .arg(QLatin1String(table)),
                    {bill})
            .toInt();
    }
    billing::GuestRecord bill(int number) { return *billing::GuestRecord::load(db(), number); }

    // Every row of the tables a table's life writes, as text: equal before and after a step that
    // must have left them alone.
    QStringList everything() {
        QStringList dump;
        for (const char* t : {"TableList", "TableGuestlist", "TableConsList", "tableguespay", "AllGues",
                              "AllCons", "AllGuesPay", "MemberList", "HangGues", "bookin", "SetupPay"}) {
            const RecordSet rs = db().query(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(t)));
            QStringList rows;
            for (int r = 0; r < rs.rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < rs.columnCount(); ++c)
                    cells << rs.value(r, c).toString();
                rows << cells.join('|');
            }
            rows.sort();
            dump << QString::fromLatin1(t) + ": " + rows.join('\n');
        }
        return dump;
    }
};

} // namespace sorrel::test
