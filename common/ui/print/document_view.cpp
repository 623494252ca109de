#include "common/ui/print/document_view.h"

#include "common/ui/print/document_painter.h"

#include <QPaintEvent>
#include <QPainter>

namespace sorrel::ui::print {

using namespace sorrel::document;

namespace {

// The white paper's border around the text, in pixels.
constexpr int kMargin = 8;

// How tall a page of the layout is: to the foot of its last row.
double pageHeight(const DocumentLayout& layout, int page) {
    double height = 0;
    for (const Placement& at : layout.pages[page])
        height = std::max(height, at.y + layout.rowHeight(layout.rows[at.row], at.atTop));
    return height;
}

} // namespace

DocumentView::DocumentView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    setPalette(paper);
}

void DocumentView::setDocument(const Document& document, const PageFormat& format) {
    document_ = document;
    format_ = format;
    layout_.reset();
    updateGeometry();
    update();
}

void DocumentView::setChart(const Chart& chart) {
    Document document;
    document.name = chart.title;
    Band band;
    band.kind = BandKind::Chart;
    band.chart = chart;
    document.bands.append(band);
    setDocument(document);
}

const DocumentLayout& DocumentView::layoutFor(int width) const {
    if (!layout_ || laidOutWidth_ != width) {
        // Pages as tall as the content, as on the roll, shown one under the other.
        layout_ = layOutDocument(document_, format_, this, std::max(1, width - 2 * kMargin), 0);
        laidOutWidth_ = width;
    }
    return *layout_;
}

const DocumentLayout& DocumentView::layout() const {
    return layoutFor(width());
}

int DocumentView::heightForWidth(int width) const {
    const DocumentLayout& laidOut = layoutFor(width);
    double height = 0;
    for (int page = 0; page < laidOut.pages.size(); ++page)
        height += pageHeight(laidOut, page);
    return int(std::ceil(height)) + 2 * kMargin;
}

QSize DocumentView::sizeHint() const {
    const int width = std::max(this->width(), 480);
    return QSize(width, heightForWidth(width));
}

void DocumentView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateGeometry();
}

void DocumentView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(kMargin, kMargin);
    const DocumentLayout& laidOut = layout();
    for (int page = 0; page < laidOut.pages.size(); ++page) {
        paintPage(painter, laidOut, page, true);
        painter.translate(0, pageHeight(laidOut, page));
    }
}

} // namespace sorrel::ui::print
