#include "frontdesk/checkout/checkout.h"

#include "common/db/errors.h"
#include "common/db/row_batch.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/money.h"
#include "common/settings_row.h"
#include "common/tables/table_refusals.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/bill_core.h"
#include "frontdesk/billing/bill_store.h"
#include "frontdesk/checkout/column_fit.h"
#include "frontdesk/tables/open_bill.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::checkout {

namespace {

const QString kLines = QStringLiteral("TableConsList");

QString nameOf(Database& db, const QString& sql, const QString& code) {
    return db.scalar(sql, {code}).toString();
}

// The commission columns of the bill's mode, read with the settle's other names.
const char* const kModeRates[] = {"cons_mode_achi",      "cons_mode_pred_stan", "cons_mode_pred_abov",
                                  "cons_mode_spec_stan", "cons_mode_spec_abov", "cons_mode_lead_stan",
                                  "cons_mode_lead_abov"};

CommissionRates ratesOf(const RecordSet::Row& r) {
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
    db.execLater(QStringLiteral("UPDATE MemberList SET memb_surp = memb_surp - ?, memb_use = memb_use + ? "
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
    db.execLater(
        QStringLiteral("UPDATE HangGues SET hang_gues_use = hang_gues_use + ? WHERE hang_gues_code = ?"),
        {g.hang_mone, g.hang_code});
}

// The table and the bill locked for the settle, read in one statement with what the settle copies
// into the bill as it is now: the names the history and the reports read, the commission staff's
// group and area and the mode's commission rates, and the cost of the lines. No row when the table
// or the bill is gone.
RecordSet lockForSettle(Database& db, const QString& tableCode, const billing::GuestRecord& g,
                        const Cashier& cashier) {
    QStringList columns{QStringLiteral("t.tabl_stat_code"), QStringLiteral("t.tabl_gues_auto_recn"),
                        QStringLiteral("g.tabl_gues_stat")};
    QVariantList params;
    const auto lookUp = [&](const QString& expression, const QString& from, const QString& code,
                            const QString& as) {
        columns << QStringLiteral("(SELECT %1 FROM %2 = ?) AS %3").arg(expression, from, as);
        params << code;
    };
    lookUp(QStringLiteral("tabl_name"), QStringLiteral("TableList WHERE tabl_code"), g.tabl_code,
           QStringLiteral("tabl_name"));
    lookUp(QStringLiteral("tabl_type_name"), QStringLiteral("TableTypeList WHERE tabl_type_code"),
           g.tabl_type_code, QStringLiteral("tabl_type_name"));
    lookUp(QStringLiteral("cons_mode_name"), QStringLiteral("ConsModeList WHERE cons_mode_code"),
           g.cons_mode_code, QStringLiteral("cons_mode_name"));
    lookUp(QStringLiteral("cons_type_name"), QStringLiteral("ConsTypeList WHERE cons_type_code"),
           g.cons_type_code, QStringLiteral("cons_type_name"));
    lookUp(QStringLiteral("dedu_oper_name"), QStringLiteral("deduoperatorlist WHERE dedu_oper_code"),
           g.dedu_oper_code, QStringLiteral("dedu_oper_name"));
    lookUp(QStringLiteral("dept_name"), QStringLiteral("DepartmentList WHERE dept_code"), g.dept_code,
           QStringLiteral("dept_name"));
    lookUp(QStringLiteral("orde_name"), QStringLiteral("OrderList WHERE orde_code"), cashier.shiftCode,
           QStringLiteral("orde_name"));
    lookUp(QStringLiteral("grou_code"), QStringLiteral("deduoperatorlist WHERE dedu_oper_code"),
           g.dedu_oper_code, QStringLiteral("dedu_grou_code"));
    // A staff member without a group looks for the area of the group coded "".
    columns << QStringLiteral("(SELECT a.area_code FROM Grouplist a WHERE a.grou_code = COALESCE((SELECT "
                              "d.grou_code FROM deduoperatorlist d WHERE d.dedu_oper_code = ?), '')) "
                              "AS dedu_area_code");
    params << g.dedu_oper_code;
    for (const char* rate : kModeRates)
        lookUp(QString::fromLatin1(rate), QStringLiteral("ConsModeList WHERE cons_mode_code"),
               g.cons_mode_code, QString::fromLatin1(rate));
    columns << QStringLiteral(
        "(SELECT COALESCE(SUM(l.tabl_cons_coun * l.item_cost_pric * l.item_type_flag), 0) "
        "FROM TableConsList l JOIN classlist c ON c.clas_code = l.clas_code "
        "WHERE l.tabl_gues_auto_recn = g.tabl_gues_auto_recn) AS cost_mone");
    // Lines are only ever added to an open bill, or moved in from a merged table: their count and
    // the last line's number tell whether the bill still holds the lines this checkout priced.
    columns << QStringLiteral("(SELECT COUNT(*) FROM TableConsList l WHERE l.tabl_gues_auto_recn = "
                              "g.tabl_gues_auto_recn) AS line_count")
            << QStringLiteral("(SELECT COALESCE(MAX(l.tabl_cons_ID), 0) FROM TableConsList l WHERE "
                              "l.tabl_gues_auto_recn = g.tabl_gues_auto_recn) AS last_line");
    params << g.tabl_gues_auto_recn << tableCode;
    return db.query(
        QStringLiteral("SELECT %1 FROM TableList t JOIN TableGuestlist g ON g.tabl_gues_auto_recn = ? "
                       "WHERE t.tabl_code = ?")
                .arg(columns.join(QStringLiteral(", "))) +
            db.lockRowsClause(),
        params);
}

// An order committed at another desk, or a table merged in, since this checkout read the bill
// would be marked settled without being paid for.
bool holdsLinesOf(const RecordSet::Row& now, const billing::BillSnapshot& bill) {
    const qint64 last = bill.lines.isEmpty() ? 0 : bill.lines.last().id;
    return now.integer("line_count") == bill.lines.size() && now.integer("last_line") == last;
}

// Every line of the bill settled on the business date, with the names of its kind, output
// point, item and unit as they are now.
void settleLines(Database& db, const billing::GuestRecord& g, const QDate& businessDay,
                 const QString& shiftName) {
    const QString ofClass =
        QStringLiteral("FROM classlist c JOIN %1 WHERE c.clas_code = TableConsList.clas_code");
    const QString ofItem = QStringLiteral("FROM itemlist i WHERE i.item_code = TableConsList.item_code");
    db.execLater(QStringLiteral(
                     "UPDATE TableConsList SET tabl_gues_end = 1, tabl_cons_time_work = ?, "
                     "kind_name = (SELECT %1 %2), manu_name = (SELECT %3 %4), orde_name = ?, dept_name = ?, "
                     "item_name = COALESCE((SELECT %5 %7), item_name), "
                     "item_unit = COALESCE((SELECT %6 %7), item_unit) WHERE tabl_gues_auto_recn = ?")
                     .arg(fittedSql(kLines, QStringLiteral("kind_name"), QStringLiteral("k.kind_name")),
                          ofClass.arg(QStringLiteral("kindlist k ON k.kind_code = c.kind_code")),
                          fittedSql(kLines, QStringLiteral("manu_name"), QStringLiteral("m.manu_name")),
                          ofClass.arg(QStringLiteral("ManuFacturelist m ON m.manu_code = c.manu_code")),
                          fittedSql(kLines, QStringLiteral("item_name"), QStringLiteral("i.item_name")),
                          fittedSql(kLines, QStringLiteral("item_unit"), QStringLiteral("i.item_unit")),
                          ofItem),
                 {toDbDateTime(QDateTime(businessDay, QTime(0, 0))),
                  fitted(kLines, QStringLiteral("orde_name"), shiftName),
                  fitted(kLines, QStringLiteral("dept_name"), g.dept_name), g.tabl_gues_auto_recn});
}

void writePayments(Database& db, int bill, const QList<PaymentRow>& payments, const QDate& businessDay) {
    // A bill settled again after its settlement was reversed keeps one set of payments.
    db.execLater(QStringLiteral("DELETE FROM tableguespay WHERE tabl_gues_auto_recn = ?"), {bill});
    RowBatch rows(db, QStringLiteral("tableguespay"),
                  {QStringLiteral("tabl_gues_auto_recn"), QStringLiteral("pay_type_code"),
                   QStringLiteral("pay_type_name"), QStringLiteral("pay_type_mone"),
                   QStringLiteral("pay_time")});
    for (const PaymentRow& row : payments)
        rows.add({bill, row.code,
                  fitted(QStringLiteral("tableguespay"), QStringLiteral("pay_type_name"), row.name),
                  row.amount, toDbDateTime(QDateTime(businessDay, QTime(0, 0)))});
    rows.flush();
}

} // namespace

void writeSettlement(Database& db, const QString& tableCode, const QString& held, billing::GuestRecord& g,
                     const QList<billing::BillLine>& lines, const QList<PaymentRow>& payments,
                     const QString& shiftName) {
    if (compareMoney(g.memb_mone, 0) > 0) chargeMember(db, g);
    if (compareMoney(g.hang_mone, 0) > 0) chargeCredit(db, g);
    const QDate businessDay = g.tabl_gues_time_work.date();
    g.post(db);
    billing::writeLineRates(db, g.tabl_gues_auto_recn, lines, billing::LineRate::Service);
    billing::writeLineRates(db, g.tabl_gues_auto_recn, lines, billing::LineRate::Discount);
    settleLines(db, g, businessDay, shiftName);
    writePayments(db, g.tabl_gues_auto_recn, payments, businessDay);
    // An order another desk was still typing for the bill is not part of what was paid.
    db.execLater(QStringLiteral("DELETE FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?"),
                 {g.tabl_gues_auto_recn});
    tables::TableColumns copies;
    copies.guestName = g.tabl_gues_name;
    copies.receivable = g.tabl_gues_shou;
    tables::moveHeldTable(db, tableCode, held, tables::TableMove::Settle, copies);
}

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
    // The table and its bill under the transaction's lock, read together, after the table's
    // three columns.
    constexpr int kTableColumns = 3;
    static const QString billColumns =
        QStringLiteral("g.") + billing::GuestRecord::columnNames().join(QStringLiteral(", g."));
    const RecordSet held = db_.query(
        QStringLiteral(
            "SELECT t.tabl_stat_code AS held_stat_code, t.tabl_name AS held_name, "
            "(SELECT c.cons_type_name FROM ConsTypeList c WHERE c.cons_type_code = g.cons_type_code) "
            "AS held_cons_type_name, %1 FROM TableList t JOIN TableGuestlist g "
            "ON g.tabl_gues_auto_recn = t.tabl_gues_auto_recn WHERE t.tabl_code = ?")
                .arg(billColumns) +
            db_.lockRowsClause(),
        {tableCode});
    // Without its bill the table's state alone tells which refusal it is.
    const QString state =
        (held.isEmpty()
             ? db_.scalar(QStringLiteral("SELECT tabl_stat_code FROM TableList WHERE tabl_code = ?"),
                          {tableCode})
             : held.value(0, 0))
            .toString()
            .trimmed();
    if (state == tables::TableState::kSettled) throw StepRefused(kNotInUseMessage);
    if (held.isEmpty() || tables::choiceFor(state) != tables::TableChoice::Continue)
        throw tables::TableChangedElsewhere(tableCode);
    billing::GuestRecord g = billing::GuestRecord::read(held, 0, kTableColumns);
    if (!g.tabl_gues_use) throw tables::TableChangedElsewhere(tableCode);

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
    // Every line of the bill, all read above, back to the full price.
    for (billing::BillLine& line : bill_.lines)
        line.discountRate = 100;
    db_.execLater(
        QStringLiteral("UPDATE TableConsList SET disc_clas_perc = 100 WHERE tabl_gues_auto_recn = ?"),
        {g.tabl_gues_auto_recn});
    g.post(db_);
    bill_.bill = g;
    tx.commit();

    tableCode_ = tableCode;
    tableName_ = held.text(0, "held_name");
    consTypeName_ = held.text(0, "held_cons_type_name");
    choices_ = loadCheckoutChoices(db_);
    tender_ = Tender{choices_.methods, std::nullopt, std::nullopt, g.tabl_gues_fact};
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
        const RecordSet locked = lockForSettle(db_, tableCode_, g, cashier);
        if (locked.isEmpty() ||
            tables::choiceFor(locked.text(0, "tabl_stat_code").trimmed()) != tables::TableChoice::Continue ||
            locked.integer(0, "tabl_gues_auto_recn") != g.tabl_gues_auto_recn ||
            locked.value(0, "tabl_gues_stat").isNull() ||
            locked.text(0, "tabl_gues_stat").trimmed() == tables::TableState::kSettled ||
            !holdsLinesOf(locked.row(0), bill))
            throw tables::TableChangedElsewhere(tableCode_);
        // Settled and resumed at another desk, or changed there in any other way since this
        // checkout read it: what was priced here is no longer that bill.
        const std::optional<billing::GuestRecord> stored = billing::GuestRecord::load(db_, g.tabl_gues_auto_recn);
        if (!stored || !g.unchangedIn(*stored)) throw tables::TableChangedElsewhere(tableCode_);
        const RecordSet::Row now = locked.row(0);
        const SettleFacts facts{now.text("tabl_name"),      now.text("tabl_type_name"),
                                now.text("cons_mode_name"), now.text("cons_type_name"),
                                now.text("dedu_oper_name"), now.text("dept_name"),
                                now.text("orde_name"),      now.text("dedu_grou_code"),
                                now.text("dedu_area_code"), ratesOf(now),
                                now.number("cost_mone")};
        applySettlement(g, facts, cashier, loadSettingsRow(db_).timeWork.date(), clock_.now(), settings_);
        writeSettlement(db_, tableCode_, locked.text(0, "tabl_stat_code").trimmed(), g, bill.lines,
                        settlement.payments, cashier.shiftName);
    });
    bill_.bill = g;
    active_ = false;
}

bool CheckoutSession::back() {
    active_ = false;
    Transaction tx(db_);
    std::optional<billing::GuestRecord> stored =
        billing::GuestRecord::load(db_, bill_.bill.tabl_gues_auto_recn);
    if (!stored || !stored->tabl_gues_use || stored->tabl_gues_stat != tables::TableState::kInUse ||
        stored->tabl_code != tableCode_)
        return false;
    billing::ReTotal(db_, *stored, settings_, clock_);
    try {
        tables::postOpenBill(db_, *stored);
    } catch (const StepRefused&) {
        return false;
    }
    tx.commit();
    bill_.bill = *stored;
    return true;
}

} // namespace sorrel::checkout
