#include "frontdesk/checkout/checkout.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/money.h"
#include "common/settings_row.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/bill_core.h"
#include "frontdesk/billing/bill_store.h"
#include "frontdesk/checkout/column_fit.h"
#include "frontdesk/tables/table_refusals.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::checkout {

namespace {

const QString kGuests = QStringLiteral("TableGuestlist");
const QString kLines = QStringLiteral("TableConsList");

QString nameOf(Database& db, const QString& sql, const QString& code) {
    return db.scalar(sql, {code}).toString();
}

CommissionRates ratesOf(Database& db, const QString& modeCode) {
    const RecordSet rs =
        db.query(QStringLiteral(
                     "SELECT cons_mode_achi, cons_mode_pred_stan, cons_mode_pred_abov, cons_mode_spec_stan, "
                     "cons_mode_spec_abov, cons_mode_lead_stan, cons_mode_lead_abov FROM ConsModeList "
                     "WHERE cons_mode_code = ?"),
                 {modeCode});
    if (rs.isEmpty()) return {};
    const RecordSet::Row r = rs.row(0);
    return {r.number("cons_mode_achi"),
            int(r.integer("cons_mode_pred_stan")),
            int(r.integer("cons_mode_pred_abov")),
            int(r.integer("cons_mode_spec_stan")),
            int(r.integer("cons_mode_spec_abov")),
            int(r.integer("cons_mode_lead_stan")),
            int(r.integer("cons_mode_lead_abov"))};
}

// The card is charged relative to the balance the database holds now, and only while that
// balance still covers the charge: two cash desks charging one card never take it below 0.
void chargeMember(Database& db, const billing::GuestRecord& g) {
    const RecordSet rs =
        db.query(QStringLiteral("SELECT memb_card_type, memb_surp FROM MemberList WHERE memb_card_code = ?") +
                     db.lockRowsClause(),
                 {g.memb_card_code});
    if (rs.isEmpty()) throw StepRefused(kNoMemberMessage);
    if (rs.text(0, "memb_card_type").trimmed() == kPointsCard) throw StepRefused(kPointsCardMessage);
    if (compareMoney(rs.number(0, "memb_surp") - g.memb_mone, 0) < 0)
        throw StepRefused(kOverMemberBalanceMessage);
    db.exec(QStringLiteral("UPDATE MemberList SET memb_surp = memb_surp - ?, memb_use = memb_use + ? "
                           "WHERE memb_card_code = ?"),
            {g.memb_mone, g.memb_mone, g.memb_card_code});
}

void chargeCredit(Database& db, const billing::GuestRecord& g) {
    const RecordSet rs = db.query(
        QStringLiteral("SELECT hang_gues_limi, hang_gues_use FROM HangGues WHERE hang_gues_code = ?") +
            db.lockRowsClause(),
        {g.hang_code});
    if (rs.isEmpty()) throw StepRefused(kNoCreditGuestMessage);
    if (compareMoney(rs.number(0, "hang_gues_limi") - rs.number(0, "hang_gues_use") - g.hang_mone, 0) < 0)
        throw StepRefused(kOverCreditLimitMessage);
    db.exec(QStringLiteral("UPDATE HangGues SET hang_gues_use = hang_gues_use + ? WHERE hang_gues_code = ?"),
            {g.hang_mone, g.hang_code});
}

// The names the history and the reports read, copied into the bill as they are now.
void copyNames(Database& db, billing::GuestRecord& g, const Cashier& cashier) {
    const auto copy = [&](QString& into, const char* column, const QString& sql, const QString& code) {
        into = fitted(kGuests, QString::fromLatin1(column), nameOf(db, sql, code));
    };
    copy(g.tabl_name, "tabl_name", QStringLiteral("SELECT tabl_name FROM TableList WHERE tabl_code = ?"),
         g.tabl_code);
    copy(g.tabl_type_name, "tabl_type_name",
         QStringLiteral("SELECT tabl_type_name FROM TableTypeList WHERE tabl_type_code = ?"),
         g.tabl_type_code);
    copy(g.cons_mode_name, "cons_mode_name",
         QStringLiteral("SELECT cons_mode_name FROM ConsModeList WHERE cons_mode_code = ?"),
         g.cons_mode_code);
    copy(g.cons_type_name, "cons_type_name",
         QStringLiteral("SELECT cons_type_name FROM ConsTypeList WHERE cons_type_code = ?"),
         g.cons_type_code);
    copy(g.dedu_oper_name, "dedu_oper_name",
         QStringLiteral("SELECT dedu_oper_name FROM deduoperatorlist WHERE dedu_oper_code = ?"),
         g.dedu_oper_code);
    copy(g.dept_name, "dept_name", QStringLiteral("SELECT dept_name FROM DepartmentList WHERE dept_code = ?"),
         g.dept_code);
    copy(g.orde_name, "orde_name", QStringLiteral("SELECT orde_name FROM OrderList WHERE orde_code = ?"),
         cashier.shiftCode);
    g.orde_code = cashier.shiftCode;
    g.oper_code = cashier.operCode;
    g.oper_name = fitted(kGuests, QStringLiteral("oper_name"), cashier.operName);
}

// Every line of the bill settled on the business date, with the names of its kind, output
// point, item and unit as they are now.
void settleLines(Database& db, const billing::GuestRecord& g, const QDate& businessDay,
                 const QString& shiftName) {
    const QString ofClass =
        QStringLiteral("FROM classlist c JOIN %1 WHERE c.clas_code = TableConsList.clas_code");
    const QString ofItem = QStringLiteral("FROM itemlist i WHERE i.item_code = TableConsList.item_code");
    db.exec(QStringLiteral(
                "UPDATE TableConsList SET tabl_gues_end = 1, tabl_cons_time_work = ?, "
                "kind_name = (SELECT %1 %2), manu_name = (SELECT %3 %4), orde_name = ?, dept_name = ?, "
                "item_name = COALESCE((SELECT %5 %7), item_name), "
                "item_unit = COALESCE((SELECT %6 %7), item_unit) WHERE tabl_gues_auto_recn = ?")
                .arg(fittedSql(kLines, QStringLiteral("kind_name"), QStringLiteral("k.kind_name")),
                     ofClass.arg(QStringLiteral("kindlist k ON k.kind_code = c.kind_code")),
                     fittedSql(kLines, QStringLiteral("manu_name"), QStringLiteral("m.manu_name")),
                     ofClass.arg(QStringLiteral("ManuFacturelist m ON m.manu_code = c.manu_code")),
                     fittedSql(kLines, QStringLiteral("item_name"), QStringLiteral("i.item_name")),
                     fittedSql(kLines, QStringLiteral("item_unit"), QStringLiteral("i.item_unit")), ofItem),
            {toDbDateTime(QDateTime(businessDay, QTime(0, 0))),
             fitted(kLines, QStringLiteral("orde_name"), shiftName),
             fitted(kLines, QStringLiteral("dept_name"), g.dept_name), g.tabl_gues_auto_recn});
}

void writePayments(Database& db, int bill, const QList<PaymentRow>& payments, const QDate& businessDay) {
    // A bill settled again after its settlement was reversed keeps one set of payments.
    db.exec(QStringLiteral("DELETE FROM tableguespay WHERE tabl_gues_auto_recn = ?"), {bill});
    for (const PaymentRow& row : payments)
        db.exec(QStringLiteral("INSERT INTO tableguespay (tabl_gues_auto_recn, pay_type_code, pay_type_name, "
                               "pay_type_mone, pay_time) VALUES (?, ?, ?, ?, ?)"),
                {bill, row.code,
                 fitted(QStringLiteral("tableguespay"), QStringLiteral("pay_type_name"), row.name),
                 row.amount, toDbDateTime(QDateTime(businessDay, QTime(0, 0)))});
}

} // namespace

CheckoutSession::CheckoutSession(Database& db, const Clock& clock) : db_(db), clock_(clock) {}

int CheckoutSession::guestsOf(const QString& text) {
    return (QStringLiteral("0") + text.trimmed()).toInt();
}

int CheckoutSession::typedRate(const QString& text) const {
    const QString t = text.trimmed();
    return t.isEmpty() ? 0 : t.toInt();
}

void CheckoutSession::enter(const QString& tableCode) {
    settings_ = billing::BillSettings::load(db_);
    Transaction tx(db_);
    const RecordSet table = db_.query(
        QStringLiteral(
            "SELECT tabl_stat_code, tabl_gues_auto_recn, tabl_name FROM TableList WHERE tabl_code = ?") +
            db_.lockRowsClause(),
        {tableCode});
    const QString state = table.isEmpty() ? QString() : table.text(0, "tabl_stat_code").trimmed();
    if (state == tables::TableState::kSettled) throw StepRefused(kNotInUseMessage);
    if (tables::choiceFor(state) != tables::TableChoice::Continue)
        throw StepRefused(tables::tableChangedElsewhereMessage(tableCode));
    std::optional<billing::GuestRecord> guest =
        billing::GuestRecord::load(db_, int(table.integer(0, "tabl_gues_auto_recn")));
    if (!guest || !guest->tabl_gues_use) throw StepRefused(tables::tableChangedElsewhereMessage(tableCode));

    billing::GuestRecord& g = *guest;
    g.tabl_gues_pay_narr.clear();
    // What an earlier checkout left that was not settled: its tax, discount and waiver are only
    // what the operator chooses now.
    g.tabl_gues_tax = 0;
    g.tabl_gues_tax_real = false;
    g.tabl_gues_disc = 0;
    g.none_mone = 0;
    billing::ReTotal(db_, g, settings_, clock_);
    g.tabl_gues_fact = g.tabl_gues_shou;
    bill_ = billing::readBillSnapshot(db_, g);
    for (billing::BillLine& line : bill_.lines)
        line.discountRate = 100;
    billing::writeLineRates(db_, g.tabl_gues_auto_recn, bill_.lines, billing::LineRate::Discount);
    g.post(db_);
    bill_.bill = g;
    tx.commit();

    tableCode_ = tableCode;
    tableName_ = table.text(0, "tabl_name");
    consTypeName_ =
        nameOf(db_, QStringLiteral("SELECT cons_type_name FROM ConsTypeList WHERE cons_type_code = ?"),
               g.cons_type_code);
    tender_ = Tender{loadPaymentMethods(db_), std::nullopt, std::nullopt, g.tabl_gues_fact};
    active_ = true;
}

bool CheckoutSession::taxConfigured() const {
    return settings_.taxPercent > 0 || settings_.taxPerGuest > 0;
}

QString CheckoutSession::taxQuestion() const {
    return QStringLiteral("是否给此台桌加税，  [") + settings_.taxType + QStringLiteral("]  收税 ! ");
}

void CheckoutSession::addTax(double guestsTyped) {
    bill_ = billing::withTax(bill_, guestsTyped, settings_);
    bill_.bill.tabl_gues_tax_real = true;
    followReceivable();
}

void CheckoutSession::followReceivable() {
    tender_.collectedBefore = bill_.bill.tabl_gues_fact;
}

void CheckoutSession::discountAndTax(int rate) {
    bill_ = billing::withDiscount(bill_, rate, settings_);
    if (bill_.bill.tabl_gues_tax_real) bill_ = billing::withTax(bill_, bill_.bill.tabl_gues_coun, settings_);
    followReceivable();
}

void CheckoutSession::chooseMode(const QString& modeCode, const QString& guestsTyped) {
    bill_.bill.cons_mode_code = modeCode;
    bill_.mode = billing::readConsMode(db_, modeCode);
    changeGuests(guestsTyped);
    consTypeName_ =
        nameOf(db_, QStringLiteral("SELECT cons_type_name FROM ConsTypeList WHERE cons_type_code = ?"),
               bill_.bill.cons_type_code);
}

void CheckoutSession::changeGuests(const QString& guestsTyped) {
    const int guests = guestsOf(guestsTyped);
    bill_.bill.tabl_gues_coun = guests;
    const QDateTime now = clock_.now();
    bill_ = billing::withStay(billing::withMode(bill_, guests, now, settings_), now, settings_);
    discountAndTax(bill_.bill.disc_perc);
}

void CheckoutSession::chooseScheme(const QString& scheme, const QString& rateTyped) {
    bill_.bill.disc_code = scheme.isEmpty() ? QStringLiteral("N") : scheme;
    bill_.schemeRates = billing::readSchemeRates(db_, bill_.bill.disc_code);
    bill_.bill.disc_perc = typedRate(rateTyped);
    discountAndTax(bill_.bill.disc_perc);
}

void CheckoutSession::typeRate(const QString& rateTyped) {
    bill_.bill.disc_perc = typedRate(rateTyped);
    discountAndTax(bill_.bill.disc_perc);
}

bool CheckoutSession::setCollected(double amount) {
    billing::GuestRecord& g = bill_.bill;
    const bool accepted = compareMoney(amount, g.tabl_gues_shou) <= 0;
    g.tabl_gues_fact = accepted ? amount : g.tabl_gues_shou;
    return accepted;
}

void CheckoutSession::setCommission(const QString& staffCode, const QString& kind) {
    bill_.bill.dedu_oper_code = staffCode;
    bill_.bill.dedu_type = kind;
}

void CheckoutSession::setAmount(int row, double amount) {
    if (row >= 0 && row < tender_.payments.size()) tender_.payments[row].amount = std::max(0.0, amount);
}

void CheckoutSession::resetPayments() {
    for (PaymentRow& row : tender_.payments)
        row.amount = 0;
    billing::GuestRecord& g = bill_.bill;
    g.tabl_gues_fact = g.tabl_gues_shou;
    g.none_mone = g.hang_mone = g.memb_mone = 0;
    g.tabl_gues_pay_narr.clear();
    followReceivable();
}

bool CheckoutSession::chooseMember(const QString& cardCode, const QString& password) {
    tender_.member = findMember(db_, cardCode, password);
    bill_.bill.tabl_gues_name = tender_.member ? tender_.member->name : QString();
    return tender_.member.has_value();
}

void CheckoutSession::chooseCredit(const CreditGuest& guest) {
    tender_.credit = guest;
    bill_.bill.tabl_gues_name = guest.name;
}

Settlement CheckoutSession::prepare() {
    const Settlement s = prepareSettlement(bill_.bill, tender_, settings_, clock_.now());
    const bool walked = s.ok() || s.refusal == kWaiverOverBillMessage;
    if (walked) {
        // The waiver found stays in its row; the next attempt starts from the collected amount now.
        for (int i = 0; i < s.payments.size(); ++i)
            if (s.payments[i].code == PayCode::kWaiver) tender_.payments[i].amount = s.payments[i].amount;
        tender_.collectedBefore = s.collectedNow;
    }
    return s;
}

void CheckoutSession::settle(const Settlement& settlement, const Cashier& cashier) {
    billing::GuestRecord g = settlement.guest;
    billing::BillSnapshot bill = bill_;
    runCoded(db_, kSettleCode, [&] {
        const RecordSet table = db_.query(
            QStringLiteral("SELECT tabl_stat_code, tabl_gues_auto_recn FROM TableList WHERE tabl_code = ?") +
                db_.lockRowsClause(),
            {tableCode_});
        const QVariant stored = db_.scalar(
            QStringLiteral("SELECT tabl_gues_stat FROM TableGuestlist WHERE tabl_gues_auto_recn = ?") +
                db_.lockRowsClause(),
            {g.tabl_gues_auto_recn});
        if (table.isEmpty() ||
            tables::choiceFor(table.text(0, "tabl_stat_code").trimmed()) != tables::TableChoice::Continue ||
            table.integer(0, "tabl_gues_auto_recn") != g.tabl_gues_auto_recn || stored.isNull() ||
            stored.toString().trimmed() == tables::TableState::kSettled)
            throw StepRefused(tables::tableChangedElsewhereMessage(tableCode_));
        if (compareMoney(g.memb_mone, 0) > 0) chargeMember(db_, g);
        if (compareMoney(g.hang_mone, 0) > 0) chargeCredit(db_, g);

        g.dedu_mone = 0;
        g.grou_code.clear();
        g.area_code.clear();
        if (!g.dedu_oper_code.isEmpty() && !g.dedu_type.isEmpty()) {
            const std::optional<double> earned = commission(g.tabl_gues_fact - g.tabl_gues_tax, g.dedu_type,
                                                            ratesOf(db_, g.cons_mode_code), settings_);
            if (earned) {
                g.dedu_mone = *earned;
                g.grou_code = nameOf(
                    db_, QStringLiteral("SELECT grou_code FROM deduoperatorlist WHERE dedu_oper_code = ?"),
                    g.dedu_oper_code);
                g.area_code = nameOf(
                    db_, QStringLiteral("SELECT area_code FROM Grouplist WHERE grou_code = ?"), g.grou_code);
            }
        }
        const QDate businessDay = loadSettingsRow(db_).timeWork.date();
        g.tabl_gues_time_end = clock_.now();
        g.tabl_gues_time_work = QDateTime(businessDay, QTime(0, 0));
        g.tabl_gues_stat = tables::TableState::kSettled;
        g.cost_mone =
            db_.scalar(QStringLiteral("SELECT COALESCE(SUM(l.tabl_cons_coun * l.item_cost_pric * "
                                      "l.item_type_flag), 0) FROM TableConsList l JOIN classlist c "
                                      "ON c.clas_code = l.clas_code WHERE l.tabl_gues_auto_recn = ?"),
                       {g.tabl_gues_auto_recn})
                .toDouble();
        copyNames(db_, g, cashier);
        g.post(db_);
        billing::writeLineRates(db_, g.tabl_gues_auto_recn, bill.lines, billing::LineRate::Service);
        billing::writeLineRates(db_, g.tabl_gues_auto_recn, bill.lines, billing::LineRate::Discount);
        settleLines(db_, g, businessDay, cashier.shiftName);
        writePayments(db_, g.tabl_gues_auto_recn, settlement.payments, businessDay);
        db_.exec(
            QStringLiteral("UPDATE TableList SET tabl_stat_code = ?, tabl_gues_name = ?, tabl_gues_shou = ? "
                           "WHERE tabl_code = ?"),
            {tables::TableState::kSettled, g.tabl_gues_name, g.tabl_gues_shou, tableCode_});
    });
    bill_.bill = g;
    active_ = false;
}

void CheckoutSession::back() {
    Transaction tx(db_);
    std::optional<billing::GuestRecord> stored =
        billing::GuestRecord::load(db_, bill_.bill.tabl_gues_auto_recn);
    if (stored) {
        billing::ReTotal(db_, *stored, settings_, clock_);
        stored->post(db_);
        bill_.bill = *stored;
    }
    tx.commit();
    active_ = false;
}

} // namespace sorrel::checkout
