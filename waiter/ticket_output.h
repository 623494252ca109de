// Where the server's kitchen tickets go: each output point's printer as this machine's printers
// file names it (the default printer for a point without one), or, for a trial, PDF files in a
// folder. Printing is one ticket at a time, whichever worker thread commits.
#pragma once

#include "waiter/waiter_service.h"

namespace sorrel::waiter {

TicketSender printerSender();
// Ticket n of the server's life goes to `folder`/ticket-<n>-<point>.pdf.
TicketSender pdfSender(const QString& folder);

} // namespace sorrel::waiter
