#include "frontdesk/billing/bill_store.h"

#include <QMap>

namespace sorrel::billing {

namespace {

// Rates are written for many lines at once, by line number; the file engine binds at most 999
// values in one statement.
constexpr int kLinesPerStatement = 400;

} // namespace

QList<BillLine> readBillLines(Database& db, int billNumber) {
    // Lines always carry their bill's number; a bill without one has none yet.
    if (billNumber == 0) return {};
    const RecordSet rows = db.query(
        QStringLiteral("SELECT a.tabl_cons_ID, a.tabl_cons_coun, a.item_unit_pric, a.item_type_flag, "
                       "a.tabl_cons_tota, a.grou_code, a.clas_code, a.serv_perc, a.disc_clas_perc, "
                       "b.clas_code AS known_class, b.clas_allo_spec, b.clas_allo_serv, b.clas_allo_disc "
                       "FROM TableConsList a LEFT JOIN classlist b ON a.clas_code = b.clas_code "
                       "WHERE a.tabl_gues_auto_recn = ? ORDER BY a.tabl_cons_ID"),
        {billNumber});
    // The columns in the order selected: a bill of a thousand lines is read after every order.
    enum {
        kId,
        kQuantity,
        kPrice,
        kFlag,
        kAmount,
        kSetMeal,
        kClass,
        kServiceRate,
        kDiscountRate,
        kKnownClass,
        kSpecial,
        kService,
        kDiscount
    };
    QList<BillLine> lines;
    lines.reserve(rows.rowCount());
    for (int i = 0; i < rows.rowCount(); ++i) {
        const auto at = [&](int column) { return rows.value(i, column); };
        BillLine line;
        line.id = int(at(kId).toLongLong());
        line.quantity = at(kQuantity).toDouble();
        line.unitPrice = at(kPrice).toDouble();
        line.typeFlag = int(at(kFlag).toLongLong());
        line.amount = at(kAmount).toDouble();
        line.setMealPart = !at(kSetMeal).toString().isEmpty();
        line.classCode = at(kClass).toString();
        line.classKnown = !line.classCode.isEmpty() && !at(kKnownClass).isNull();
        line.special = at(kSpecial).toLongLong() != 0;
        line.service = at(kService).toLongLong() != 0;
        line.discount = at(kDiscount).toLongLong() != 0;
        line.serviceRate = int(at(kServiceRate).toLongLong());
        line.discountRate = int(at(kDiscountRate).toLongLong());
        lines << line;
    }
    return lines;
}

ConsMode readConsMode(Database& db, const QString& modeCode) {
    // The mode and its price bands in one read: a row per band, or one row without a band.
    const RecordSet rows = db.query(
        QStringLiteral("SELECT m.cons_type_code, m.cons_mode_mone, m.cons_mode_serv, t.cons_time_code, "
                       "t.cons_time_star, t.cons_time_end, t.cons_time_mone FROM ConsModeList m "
                       "LEFT JOIN ConsTimeMode t ON t.cons_mode_code = m.cons_mode_code "
                       "WHERE m.cons_mode_code = ? ORDER BY t.cons_time_code"),
        {modeCode});
    ConsMode mode;
    if (rows.isEmpty()) return mode;
    mode.typeCode = rows.text(0, QStringLiteral("cons_type_code")).trimmed();
    mode.amount = rows.number(0, QStringLiteral("cons_mode_mone"));
    mode.servicePercent = int(rows.integer(0, QStringLiteral("cons_mode_serv")));
    for (int i = 0; i < rows.rowCount(); ++i)
        if (!rows.value(i, QStringLiteral("cons_time_code")).isNull()) mode.bands << timeBandOf(rows.row(i));
    return mode;
}

SchemeRates readSchemeRates(Database& db, const QString& scheme) {
    const QString code = scheme.trimmed();
    if (code.isEmpty()) return {};
    const RecordSet rows = db.query(
        QStringLiteral("SELECT clas_code, disc_clas_perc FROM DiscItem WHERE disc_code = ? ORDER BY disc_ID"),
        {code});
    SchemeRates rates;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const QString classCode = rows.text(i, QStringLiteral("clas_code"));
        if (rates.contains(classCode)) continue; // a class's first row counts
        // A row without a rate discounts nothing.
        const QVariant rate = rows.value(i, QStringLiteral("disc_clas_perc"));
        rates.insert(classCode, rate.isNull() ? 100 : int(rate.toLongLong()));
    }
    return rates;
}

BillSnapshot readBillSnapshot(Database& db, const GuestRecord& bill) {
    return {.bill = bill,
            .lines = readBillLines(db, bill.tabl_gues_auto_recn),
            .mode = readConsMode(db, bill.cons_mode_code),
            .schemeRates = readSchemeRates(db, bill.disc_code)};
}

void writeLineRates(Database& db, int billNumber, const QList<BillLine>& lines, LineRate rate) {
    const QString column =
        rate == LineRate::Service ? QStringLiteral("serv_perc") : QStringLiteral("disc_clas_perc");
    QMap<int, QVariantList> linesByRate;
    for (const BillLine& line : lines)
        linesByRate[rate == LineRate::Service ? line.serviceRate : line.discountRate] << line.id;
    for (auto group = linesByRate.cbegin(); group != linesByRate.cend(); ++group) {
        const QVariantList& ids = group.value();
        for (qsizetype from = 0; from < ids.size(); from += kLinesPerStatement) {
            const QVariantList chunk = ids.mid(from, kLinesPerStatement);
            QVariantList params{group.key(), billNumber};
            params << chunk;
            db.execLater(
                QStringLiteral("UPDATE TableConsList SET %1 = ? WHERE tabl_gues_auto_recn = ? "
                               "AND tabl_cons_ID IN (%2)")
                    .arg(column, QStringList(chunk.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
                params);
        }
    }
}

} // namespace sorrel::billing
