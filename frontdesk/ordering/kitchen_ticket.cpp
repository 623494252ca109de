#include "frontdesk/ordering/kitchen_ticket.h"

#include "common/document/document_builder.h"
#include "common/document/number_format.h"
#include "frontdesk/ordering/order_menu.h"

namespace sorrel::ordering {

using namespace document;

QList<TicketLine> unsentLines(Database& db, int billNumber, const QString& point) {
    const RecordSet rs = db.query(
        QStringLiteral(
            "SELECT COALESCE(i.item_name, l.item_name) AS item_name, "
            "COALESCE(i.item_unit, l.item_unit) AS item_unit, l.tabl_cons_coun * l.item_coun_flag AS coun, "
            "COALESCE(n.cons_narr_name, l.cons_narr_code) AS narr "
            "FROM TableConsList l JOIN classlist c ON c.clas_code = l.clas_code "
            "LEFT JOIN itemlist i ON i.item_code = l.item_code "
            "LEFT JOIN ConsNarrList n ON n.cons_narr_code = l.cons_narr_code "
            "WHERE l.tabl_gues_auto_recn = ? AND COALESCE(l.tabl_cons_tran, 0) = 0 AND c.manu_code = ? "
            "AND COALESCE(l.item_type_code, '') <> ? AND l.tabl_cons_coun <> 0 ORDER BY l.tabl_cons_ID"),
        {billNumber, point, kSetMeal});
    QList<TicketLine> lines;
    for (int i = 0; i < rs.rowCount(); ++i)
        lines.append(
            {rs.text(i, "item_name"), rs.text(i, "narr"), rs.number(i, "coun"), rs.text(i, "item_unit")});
    return lines;
}

Document ticketDocument(const QString& title, const TicketTable& table, const QList<TicketLine>& lines,
                        const QDateTime& printedAt) {
    DocumentBuilder b(title,
                      {Column::text(QStringLiteral("名称"), 3, 6), Column::text(QStringLiteral("口味"), 2, 4),
                       Column::text(QStringLiteral("数量/单位"), 2, 6)});
    b.title(title).fields({table.code, table.name}).columnHeader();
    TextStyle large;
    large.size = TextSize::Large;
    large.bold = true;
    for (const TicketLine& line : lines)
        b.row({Cell(line.name), Cell(line.note),
               Cell(formatNumber(line.quantity, NumberFormat::Quantity) + QLatin1Char(' ') + line.unit)
                   .styled(large)});
    b.rule().line(QStringLiteral("制单时间：") + printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    Document doc = b.document();
    // The table's name stands at the right, across from its code.
    for (Band& band : doc.bands)
        if (band.kind == BandKind::Header && band.rows.size() == 1 && band.rows[0].cells.size() == 2)
            band.rows[0].cells[1].style.align = Align::Right;
    return doc;
}

QList<KitchenTicket> kitchenTickets(Database& db, int billNumber, const TicketTable& table,
                                    const OutputPrinters& printers, const Clock& clock) {
    const QDateTime now = clock.now();
    QList<TicketLine> kitchen = unsentLines(db, billNumber, kKitchenPoint);
    QList<KitchenTicket> tickets{{kKitchenPoint, printers.printerFor(kKitchenPoint),
                                  ticketDocument(kKitchenTicketName, table, kitchen, now),
                                  int(kitchen.size())}};
    for (const MenuEntry& entry : loadOutputPoints(db)) {
        const QString& point = entry.code;
        const QString printer = printers.printerFor(point);
        if (point == kKitchenPoint || printer.isEmpty()) continue;
        const QList<TicketLine> lines = unsentLines(db, billNumber, point);
        if (lines.isEmpty()) continue;
        tickets.append({point, printer,
                        ticketDocument(QStringLiteral("小票-") + entry.name, table, lines, now),
                        int(lines.size())});
    }
    return tickets;
}

QStringList sendKitchenTickets(Database& db, int billNumber, const QList<KitchenTicket>& tickets,
                               const std::function<QString(const KitchenTicket&)>& send) {
    QStringList failures;
    QStringList keptPoints;
    for (const KitchenTicket& ticket : tickets) {
        const QString failure = send(ticket);
        if (failure.isEmpty()) continue;
        failures.append(failure);
        keptPoints.append(ticket.point);
    }
    // A ticket that did not go out leaves its lines unsent, to be printed again.
    QString sql = QStringLiteral("UPDATE TableConsList SET tabl_cons_tran = 1 WHERE tabl_gues_auto_recn = ?");
    QVariantList params{billNumber};
    if (!keptPoints.isEmpty()) {
        QStringList marks;
        for (const QString& point : keptPoints) {
            marks.append(QStringLiteral("?"));
            params.append(point);
        }
        sql += QStringLiteral(
                   " AND NOT EXISTS (SELECT 1 FROM classlist c WHERE c.clas_code = TableConsList.clas_code "
                   "AND c.manu_code IN (%1))")
                   .arg(marks.join(QStringLiteral(", ")));
    }
    db.exec(sql, params);
    return failures;
}

void toggleSent(Database& db, int lineId) {
    db.exec(QStringLiteral(
                "UPDATE TableConsList SET tabl_cons_tran = CASE WHEN tabl_cons_tran = 1 THEN 0 ELSE 1 END "
                "WHERE tabl_cons_ID = ?"),
            {lineId});
}

} // namespace sorrel::ordering
