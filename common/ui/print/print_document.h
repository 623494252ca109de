// Where a document goes: the preview (and from there the printer), a system printer, or a PDF
// file, each on a page format. The one way every screen prints.
//
//   printDocument(bill, PrintTarget::printer(QString(), PageFormat::receiptRoll80()));
//   printDocument(report, PrintTarget::preview(PageFormat::a4()), this);
#pragma once

#include "common/document/document.h"
#include "common/document/document_stream.h"
#include "common/document/page_format.h"

#include "common/progress.h"

#include <QString>

class QWidget;

namespace sorrel::ui::print {

struct PrintTarget {
    enum class Kind { Preview, Printer, Pdf };
    Kind kind = Kind::Preview;
    // Printer: the system's printer name, empty for the default printer. Pdf: the file.
    QString destination;
    document::PageFormat format;
    // Printer and PDF: told how far the document has gone out, 0 to 100, as it is laid out and
    // painted (a year's list takes half a minute). May throw to stop it: nothing goes out.
    ProgressReport progress;

    static PrintTarget preview(const document::PageFormat& format);
    static PrintTarget printer(const QString& printerName, const document::PageFormat& format);
    static PrintTarget pdf(const QString& path, const document::PageFormat& format);
};

struct PrintResult {
    // Empty when the document went out; else why nothing was printed, for the operator.
    QString failure;
    // The preview was closed without printing: nothing went out, and nothing is wrong.
    bool closedUnprinted = false;
    bool ok() const { return failure.isEmpty() && !closedUnprinted; }
};

// Paints the document on the target. The preview is modal over `parent` and prints from its
// own print button. A print queue that is not accepting jobs, or refuses this one, is a failure
// that names the printer: only what the queue took (or a PDF written) is ok.
PrintResult printDocument(const document::DocumentStream& document, const PrintTarget& target,
                          QWidget* parent = nullptr);

} // namespace sorrel::ui::print
