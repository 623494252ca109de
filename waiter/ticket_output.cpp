#include "waiter/ticket_output.h"

#include "common/document/page_format.h"
#include "common/ui/print/print_document.h"

#include <QDir>
#include <atomic>
#include <mutex>

namespace sorrel::waiter {

namespace {

std::mutex& printing() {
    static std::mutex m;
    return m;
}

QString print(const ordering::KitchenTicket& ticket, const ui::print::PrintTarget& target) {
    const std::lock_guard lock(printing());
    return ui::print::printDocument(ticket.document, target).failure;
}

} // namespace

TicketSender printerSender() {
    return [](const ordering::KitchenTicket& t) {
        return print(t, ui::print::PrintTarget::printer(t.printer, document::PageFormat::receiptRoll80()));
    };
}

TicketSender pdfSender(const QString& folder) {
    auto counter = std::make_shared<std::atomic<int>>(0);
    return [folder, counter](const ordering::KitchenTicket& t) {
        const QString file =
            QDir(folder).filePath(QStringLiteral("ticket-%1-%2.pdf").arg(++*counter).arg(t.point));
        return print(t, ui::print::PrintTarget::pdf(file, document::PageFormat::receiptRoll80()));
    };
}

} // namespace sorrel::waiter
