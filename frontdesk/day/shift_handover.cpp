#include "frontdesk/day/shift_handover.h"

#include "common/db/errors.h"
#include "common/db/row_batch.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/money.h"
#include "common/settings_row.h"

namespace sorrel::day {

namespace {

double cents(double amount) {
    return IntWay(amount, kKeepCents);
}

HandoverTotals addUp(const QList<HandoverLine>& lines, bool withWaiver) {
    HandoverTotals t;
    for (const HandoverLine& line : lines) {
        if (!withWaiver && line.code.trimmed() == kWaiverMethod) continue;
        t.openingFloat = cents(t.openingFloat + line.openingFloat);
        t.receipts += line.receipts;
        t.received = cents(t.received + line.received);
        t.toHandOver = cents(t.toHandOver + line.toHandOver);
    }
    return t;
}

// What the shift has taken in per method: every method when nothing is outstanding, otherwise
// the methods that occur among the outstanding payments. Each method's float is its current one.
QList<HandoverLine> takings(Database& db) {
    // One statement for both cases: the second part answers only when nothing is outstanding.
    const QString floatOf = QStringLiteral(
        "COALESCE((SELECT f.pay_star_mone FROM PayTypeList f WHERE f.pay_type_code = %1.pay_type_code), 0)");
    const RecordSet rows = db.query(
        QStringLiteral("SELECT a.pay_type_code, a.pay_type_name, "
                       "SUM(CASE WHEN a.pay_type_mone > 0 THEN 1 ELSE 0 END) AS receipts, "
                       "SUM(a.pay_type_mone) AS received, %1 AS opening "
                       "FROM AllGuesPay a WHERE a.pay_flag = 0 "
                       "GROUP BY a.pay_type_code, a.pay_type_name "
                       "UNION ALL SELECT p.pay_type_code, p.pay_type_name, 0, 0, %2 FROM PayTypeList p "
                       "WHERE NOT EXISTS (SELECT 1 FROM AllGuesPay o WHERE o.pay_flag = 0) "
                       "ORDER BY pay_type_code DESC, pay_type_name")
            .arg(floatOf.arg(QStringLiteral("a")), floatOf.arg(QStringLiteral("p"))));
    QList<HandoverLine> lines;
    for (int i = 0; i < rows.rowCount(); ++i) {
        HandoverLine line;
        line.code = rows.text(i, "pay_type_code");
        line.name = rows.text(i, "pay_type_name");
        line.receipts = int(rows.integer(i, "receipts"));
        line.received = cents(rows.number(i, "received"));
        line.openingFloat = cents(rows.number(i, "opening"));
        line.toHandOver = cents(line.openingFloat + line.received);
        lines << line;
    }
    return lines;
}

// The sheet built afresh into Paytotaltemp, inside the caller's transaction.
HandoverSheet buildSteps(Database& db, const Clock& clock) {
    HandoverSheet sheet{takings(db), clock.now()};
    db.execLater(QStringLiteral("DELETE FROM Paytotaltemp"));
    RowBatch rows(db, QStringLiteral("Paytotaltemp"),
                  {QStringLiteral("pay_type_code"), QStringLiteral("pay_type_name"),
                   QStringLiteral("pay_type_coun"), QStringLiteral("pay_type_mone"),
                   QStringLiteral("pay_star_mone"), QStringLiteral("pay_fact_mone")});
    for (const HandoverLine& line : sheet.lines)
        rows.add({line.code, line.name, line.receipts, line.received, line.openingFloat, line.toHandOver});
    rows.flush();
    return sheet;
}

} // namespace

bool HandoverLine::operator==(const HandoverLine& other) const {
    return code == other.code && name == other.name && receipts == other.receipts &&
           compareMoney(received, other.received) == 0 &&
           compareMoney(openingFloat, other.openingFloat) == 0 &&
           compareMoney(toHandOver, other.toHandOver) == 0;
}

HandoverTotals HandoverSheet::screenTotals() const {
    return addUp(lines, false);
}

HandoverTotals HandoverSheet::printedTotals() const {
    return addUp(lines, true);
}

RecordSet loadFloats(Database& db) {
    return db.query(QStringLiteral("SELECT pay_type_code, pay_type_name, pay_star_mone FROM PayTypeList "
                                   "ORDER BY pay_type_code DESC"));
}

HandoverSheet buildHandoverSheet(Database& db, const Clock& clock) {
    Transaction tx(db);
    HandoverSheet sheet = buildSteps(db, clock);
    tx.commit();
    return sheet;
}

HandoverSheet submitFloat(Database& db, const Clock& clock, const QString& methodCode, double openingFloat) {
    return runCoded(db, kSubmitFloatCode, [&] {
        db.execLater(QStringLiteral("UPDATE PayTypeList SET pay_star_mone = ? WHERE pay_type_code = ?"),
                     {cents(openingFloat), methodCode});
        return buildSteps(db, clock);
    });
}

namespace {

// The handover of `sheet`, just built inside the caller's transaction.
void archive(Database& db, const Clock& clock, const HandoverSheet& sheet, const HandoverBy& by,
             const QDateTime& businessDate) {
    // The payment rows of tables already cleared leave the current day: their copies are in
    // AllGuesPay. Those of settled tables not yet cleared stay for the next shift.
    db.execLater(QStringLiteral("DELETE FROM tableguespay WHERE EXISTS (SELECT 1 FROM TableGuestlist b "
                                "WHERE b.tabl_gues_auto_recn = tableguespay.tabl_gues_auto_recn AND "
                                "b.tabl_gues_use = 0)"));
    db.execLater(QStringLiteral("UPDATE tableguespay SET pay_flag = 0"));
    db.execLater(QStringLiteral("UPDATE PayTypeList SET pay_star_mone = 0"));
    db.execLater(QStringLiteral("UPDATE AllGuesPay SET pay_flag = 1 WHERE pay_flag = 0"));
    const QVariant workDate = businessDate.isValid() ? QVariant(toDbDate(businessDate.date())) : QVariant();
    const QString handedAt = toDbDateTime(clock.now());
    RowBatch rows(db, QStringLiteral("Allpaytotal"),
                  {QStringLiteral("pay_date_work"), QStringLiteral("pay_rema"),
                   QStringLiteral("pay_type_code"), QStringLiteral("pay_type_name"),
                   QStringLiteral("pay_star_mone"), QStringLiteral("pay_type_mone"),
                   QStringLiteral("pay_type_coun"), QStringLiteral("pay_fact_mone"),
                   QStringLiteral("pay_date"), QStringLiteral("oper_code"), QStringLiteral("oper_name")});
    for (const HandoverLine& line : sheet.lines)
        rows.add({workDate, by.note, line.code, line.name, line.openingFloat, line.received, line.receipts,
                  line.toHandOver, handedAt, by.operatorCode, by.operatorName});
    rows.flush();
}

} // namespace

void handOver(Database& db, const Clock& clock, const HandoverSheet& seen, const HandoverBy& by) {
    runCoded(db, kHandOverCode, [&] {
        const QDateTime businessDate = loadSettingsRow(db, SettingsLock::ForUpdate).timeWork;
        const HandoverSheet now = buildSteps(db, clock);
        if (now.lines != seen.lines) throw StepRefused(kSheetChangedMessage);
        archive(db, clock, now, by, businessDate);
    });
}

HandoverSheet handOverSteps(Database& db, const Clock& clock, const HandoverBy& by) {
    const QDateTime businessDate = loadSettingsRow(db, SettingsLock::ForUpdate).timeWork;
    const HandoverSheet sheet = buildSteps(db, clock);
    archive(db, clock, sheet, by, businessDate);
    return sheet;
}

} // namespace sorrel::day
