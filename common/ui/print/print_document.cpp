#include "common/ui/print/print_document.h"
#include "common/ui/guard.h"

#include "common/ui/print/document_painter.h"

#include <QAction>
#include <algorithm>
#include <memory>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <cups/cups.h>

namespace sorrel::ui::print {

using namespace sorrel::document;

namespace {

// The paper of the format, with margins no smaller than the printer can print. A roll gets the
// height it needs for `rollHeightMm` of content.
void setPaper(QPrinter& printer, const PageFormat& format, double rollHeightMm) {
    const QPageSize size = format.continuous()
                               ? QPageSize(QSizeF(format.paperWidthMm,
                                                  rollHeightMm + format.marginTopMm + format.marginBottomMm),
                                           QPageSize::Millimeter, format.name, QPageSize::ExactMatch)
                               : QPageSize(QSizeF(format.paperWidthMm, format.paperHeightMm),
                                           QPageSize::Millimeter, format.name, QPageSize::FuzzyMatch);
    printer.setPageSize(size);
    printer.setPageOrientation(QPageLayout::Portrait);
    const QMarginsF least = printer.pageLayout().minimumMargins();
    printer.setPageMargins(QMarginsF(std::max(format.marginLeftMm, least.left()),
                                     std::max(format.marginTopMm, least.top()),
                                     std::max(format.marginRightMm, least.right()),
                                     std::max(format.marginBottomMm, least.bottom())),
                           QPageLayout::Millimeter);
}

DocumentLayout layOutFor(QPrinter& printer, const DocumentStream& document, const PageFormat& format) {
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    return layOutDocument(document, format, &printer, area.width(), format.continuous() ? 0 : area.height());
}

// Lays the document out for the printer as it is set up now (the preview's print dialog may
// have changed it), cuts a roll to its content and paints every page.
// The document telling `progress` how far its readings have come: the columns' widths, the
// pages, the paint, each a third.
DocumentStream watchedFor(const DocumentStream& document, const ProgressReport& progress) {
    if (!progress) return document;
    const qint64 bands = std::max<qint64>(1, document.bandCount());
    auto reading = std::make_shared<int>(-1);
    auto shown = std::make_shared<int>(-1);
    return document.watched([=](qint64 read) {
        if (read == 1) ++*reading;
        const int percent = int(std::min<qint64>(100, (*reading * bands + read) * 100 / (3 * bands)));
        if (percent != *shown) progress(*shown = percent);
    });
}

bool paintDocument(QPrinter& printer, const DocumentStream& document, const PageFormat& format) {
    DocumentLayout layout = layOutFor(printer, document, format);
    if (format.continuous()) setPaper(printer, format, layout.usedHeight / layout.metrics.dotsPerMm);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    // The preview records pages as pictures and replays them scaled, as outlines without bold.
    const bool devicePaintsBold = painter.paintEngine()->type() != QPaintEngine::Picture;
    if (!paintPages(painter, layout, document, &printer, devicePaintsBold, [&] { return printer.newPage(); }))
        return false;
    return painter.end();
}

void prepare(QPrinter& printer, const DocumentStream& document, const PageFormat& format) {
    printer.setDocName(document.name());
    printer.setCreator(QStringLiteral("Sorrel"));
    printer.setFontEmbeddingEnabled(true);
    printer.setFullPage(false);
    // A first roll length; the roll is cut to its content once the document is laid out.
    setPaper(printer, format, format.paperWidthMm);
}

QString printerToUse(const QString& requested) {
    return requested.isEmpty() ? QPrinterInfo::defaultPrinterName() : requested;
}

QString refusedMessage(const QString& name) {
    return QStringLiteral("打印机[%1]不接受打印任务，没有打印！").arg(name);
}

// Why the queue will not take a job now (stopped, or rejecting jobs); empty when it will.
QString queueRefusal(const QString& name) {
    if (QPrinterInfo::printerInfo(name).state() == QPrinter::Error) return refusedMessage(name);
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.toUtf8().constData(), nullptr);
    if (!dest) return {};
    const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool refuses = accepting && qstrcmp(accepting, "false") == 0;
    cupsFreeDests(1, dest);
    return refuses ? refusedMessage(name) : QString();
}

// Right after the painter has handed the job to the queue: whether the queue refused it. Qt's
// print engine does not pass that answer on, the print system's last status does.
QString jobRefusal(const QString& name) {
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) return {};
    return refusedMessage(name) + QStringLiteral("\n") + QString::fromUtf8(cupsLastErrorString());
}

} // namespace

PrintTarget PrintTarget::preview(const PageFormat& format) {
    return PrintTarget{Kind::Preview, QString(), format, {}};
}

PrintTarget PrintTarget::printer(const QString& printerName, const PageFormat& format) {
    return PrintTarget{Kind::Printer, printerName, format, {}};
}

PrintTarget PrintTarget::pdf(const QString& path, const PageFormat& format) {
    return PrintTarget{Kind::Pdf, path, format, {}};
}

PrintResult printDocument(const DocumentStream& document, const PrintTarget& target, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    switch (target.kind) {
    case PrintTarget::Kind::Pdf:
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target.destination);
        prepare(printer, document, target.format);
        if (!paintDocument(printer, watchedFor(document, target.progress), target.format))
            return {QStringLiteral("无法写入文件：%1").arg(target.destination)};
        if (target.progress) target.progress(100);
        return {};
    case PrintTarget::Kind::Printer: {
        const QString name = printerToUse(target.destination);
        if (name.isEmpty()) return {QStringLiteral("本机没有可用的打印机")};
        if (!QPrinterInfo::availablePrinterNames().contains(name))
            return {QStringLiteral("找不到打印机：%1").arg(name)};
        if (const QString refusal = queueRefusal(name); !refusal.isEmpty()) return {refusal};
        printer.setPrinterName(name);
        prepare(printer, document, target.format);
        if (!paintDocument(printer, watchedFor(document, target.progress), target.format))
            return {QStringLiteral("打印机[%1]无法打印").arg(name)};
        return {jobRefusal(name)};
    }
    case PrintTarget::Kind::Preview:
        break;
    }
    prepare(printer, document, target.format);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(document.name());
    ui::connectGuarded(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                       [&](QPrinter* shown) { paintDocument(*shown, document, target.format); });
    // The page opens as wide as the window, its text readable.
    if (auto* fitWidth = dialog.findChild<QAction*>(QStringLiteral("fitWidthAction")))
        fitWidth->trigger();
    else if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
        view->fitToWidth();
    if (dialog.exec() != QDialog::Accepted) return {QString(), true};
    // Printed from the preview's button: to a file, or to a queue that may have refused it.
    if (printer.outputFormat() == QPrinter::NativeFormat) return {jobRefusal(printer.printerName())};
    return {};
}

} // namespace sorrel::ui::print
