#include "frontdesk/billing/bill_lines.h"

#include "common/money.h"

namespace sorrel::billing {

double BillLine::value() const {
    return lineValue(quantity, unitPrice, typeFlag);
}

QList<BillLine> readBillLines(Database& db, int billNumber) {
    // Lines always carry their bill's number; a bill without one has none yet.
    if (billNumber == 0) return {};
    const RecordSet rows = db.query(
        QStringLiteral("SELECT a.tabl_cons_coun, a.item_unit_pric, a.item_type_flag, a.tabl_cons_tota, "
                       "a.disc_clas_perc, b.clas_allo_spec, b.clas_allo_serv "
                       "FROM TableConsList a JOIN classlist b ON a.clas_code = b.clas_code "
                       "WHERE a.tabl_gues_auto_recn = ? AND COALESCE(a.clas_code, '') <> '' "
                       "ORDER BY a.tabl_cons_ID"),
        {billNumber});
    QList<BillLine> lines;
    lines.reserve(rows.rowCount());
    for (int i = 0; i < rows.rowCount(); ++i) {
        const RecordSet::Row row = rows.row(i);
        BillLine line;
        line.quantity = row.number(QStringLiteral("tabl_cons_coun"));
        line.unitPrice = row.number(QStringLiteral("item_unit_pric"));
        line.typeFlag = int(row.integer(QStringLiteral("item_type_flag")));
        line.amount = row.number(QStringLiteral("tabl_cons_tota"));
        line.discountRate = int(row.integer(QStringLiteral("disc_clas_perc")));
        line.special = row.flag(QStringLiteral("clas_allo_spec"));
        line.service = row.flag(QStringLiteral("clas_allo_serv"));
        lines << line;
    }
    return lines;
}

} // namespace sorrel::billing
