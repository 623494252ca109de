// The kitchen ticket (后厨): the bill's lines not yet sent to the kitchen, output point "2", as
// the document the renderer prints on the 80 mm roll; and, where this workstation names a
// printer for another output point, that point's own ticket. Once the tickets are out, the
// bill's lines are marked sent, so printing again gives an empty ticket.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/document/document.h"
#include "frontdesk/ordering/output_printers.h"

#include <QList>
#include <functional>

namespace sorrel::ordering {

inline const QString kKitchenPoint = QStringLiteral("2");
inline const QString kKitchenTicketName = QStringLiteral("小票-后厨");

struct TicketLine {
    QString name;
    QString note;
    double quantity = 0; // signed: a return prints negative
    QString unit;
};

// The unsent lines of bill `billNumber` whose class goes to output point `point`, set meals and
// lines of no quantity left out, in line order.
QList<TicketLine> unsentLines(Database& db, int billNumber, const QString& point);

struct TicketTable {
    QString code;
    QString name;
};

document::Document ticketDocument(const QString& title, const TicketTable& table,
                                  const QList<TicketLine>& lines, const QDateTime& printedAt);

// A ticket's preview closed without printing.
inline const QString kTicketNotPrintedMessage = QStringLiteral("出品单没有打印，菜品仍为未传！");

struct KitchenTicket {
    QString point;
    QString printer; // empty: shown in the preview
    document::Document document;
    int lineCount = 0;
};

// The tickets "后厨" prints: always the kitchen's (point "2"), then one for each other point
// with a printer named and lines to send, headed with the point's name.
QList<KitchenTicket> kitchenTickets(Database& db, int billNumber, const TicketTable& table,
                                    const OutputPrinters& printers, const Clock& clock);

// Sends each ticket (`send` answers why it could not, empty when it went out), then marks the
// bill's lines sent, except those of a point whose ticket did not go out. Answers the failures.
QStringList sendKitchenTickets(Database& db, int billNumber, const QList<KitchenTicket>& tickets,
                               const std::function<QString(const KitchenTicket&)>& send);

// The "传单" mark of one committed line, turned over.
void toggleSent(Database& db, int lineId);

} // namespace sorrel::ordering
