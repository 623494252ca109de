#include "common/ui/print/document_painter.h"

#include <QPainter>
#include <QPaintDevice>
#include <QPen>

namespace sorrel::ui::print {

using namespace sorrel::document;

namespace {

// Draws the rule in its band of space starting at y; returns the y below it.
double paintRule(QPainter& painter, const DocumentLayout& layout, Rule rule, double y) {
    if (rule == Rule::None) return y;
    const PrintMetrics& m = layout.metrics;
    const double pen = rule == Rule::Thick ? m.thickPen : m.thinPen;
    QPen line(Qt::black, pen, rule == Rule::Dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap);
    painter.setPen(line);
    const double middle = y + m.ruleGap + pen / 2;
    painter.drawLine(QPointF(0, middle), QPointF(layout.width, middle));
    return y + m.ruleHeight(rule);
}

void paintText(QPainter& painter, const ChartText& text) {
    if (!text.upright) {
        painter.drawText(text.box, int(text.align), text.text);
        return;
    }
    painter.save();
    painter.translate(text.box.bottomLeft());
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, text.box.height(), text.box.width()), int(text.align), text.text);
    painter.restore();
}

// The chart with its top left corner at `origin`: grid lines under the bars, the axis over them,
// the texts last.
void paintChart(QPainter& painter, const ChartLayout& chart, QPointF origin) {
    painter.save();
    painter.translate(origin);
    painter.setPen(QPen(QColor(0xC8, 0xC8, 0xC8), chart.lineWidth));
    for (const QLineF& line : chart.gridLines)
        painter.drawLine(line);
    painter.setPen(Qt::NoPen);
    for (const ChartBar& bar : chart.bars) {
        painter.setBrush(seriesColour(bar.series));
        painter.drawRect(bar.box);
    }
    for (int s = 0; s < chart.swatches.size(); ++s) {
        painter.setBrush(seriesColour(s));
        painter.drawRect(chart.swatches[s]);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, chart.lineWidth * 2));
    painter.drawLine(chart.baseLine);
    painter.setPen(Qt::black);
    if (chart.title) {
        painter.setFont(chart.titleFont);
        paintText(painter, *chart.title);
    }
    painter.setFont(chart.font);
    for (const ChartText& text : chart.labels())
        paintText(painter, text);
    painter.restore();
}

void paintRow(QPainter& painter, const DocumentLayout& layout, const PlacedRow& row, const Placement& at,
              bool devicePaintsBold) {
    double y = at.y + (at.atTop ? 0 : row.spaceAbove);
    y = paintRule(painter, layout, row.ruleAbove, y);
    if (row.chart) paintChart(painter, *row.chart, QPointF(0, y));
    painter.setPen(Qt::black);
    for (const PlacedCell& cell : row.cells) {
        cell.text->draw(&painter, QPointF(cell.x, y + cell.y));
        if (!devicePaintsBold && cell.boldOffset > 0)
            cell.text->draw(&painter, QPointF(cell.x + cell.boldOffset, y + cell.y));
    }
    paintRule(painter, layout, row.ruleBelow, y + row.textHeight);
}

void paintPageNumber(QPainter& painter, const DocumentLayout& layout, int page) {
    painter.setPen(Qt::black);
    painter.setFont(layout.metrics.font({.size = TextSize::Small}));
    const QRectF foot(0, layout.bodyHeight, layout.width, layout.footerHeight);
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("第 %1 页 / 共 %2 页").arg(page + 1).arg(layout.pages.size()));
}

} // namespace

void paintPage(QPainter& painter, const DocumentLayout& layout, int page, bool devicePaintsBold) {
    for (const Placement& at : layout.pages[page])
        paintRow(painter, layout, layout.rows[at.row], at, devicePaintsBold);
    if (layout.numberedPages) paintPageNumber(painter, layout, page);
}

bool paintPages(QPainter& painter, const DocumentLayout& layout, const DocumentStream& document,
                const QPaintDevice* device, bool devicePaintsBold, const std::function<bool()>& newPage) {
    if (layout.textKept) {
        for (int page = 0; page < layout.pages.size(); ++page) {
            if (page > 0 && !newPage()) return false;
            paintPage(painter, layout, page, devicePaintsBold);
        }
        return true;
    }
    // Each row comes again in the order of the layout's rows; a page's placements are its
    // repeated column titles (rows already passed, kept with their text) and then its own rows.
    int page = 0;
    qsizetype at = 0;
    bool begun = true;
    const auto pages = qsizetype(layout.pages.size());
    auto next = [&] {
        ++at;
        while (begun && page < pages && at >= layout.pages[page].size()) {
            if (layout.numberedPages) paintPageNumber(painter, layout, page);
            ++page;
            at = 0;
            if (page < pages) begun = newPage();
        }
    };
    placeRowsAgain(document, layout, device, [&](int index, const PlacedRow& row) {
        while (begun && page < pages && layout.pages[page][at].row != index) {
            const Placement& title = layout.pages[page][at];
            // Only rows already passed stand before a page's own rows.
            if (title.row > index) return;
            paintRow(painter, layout, layout.rows[title.row], title, devicePaintsBold);
            next();
        }
        if (!begun || page >= pages) return;
        paintRow(painter, layout, row, layout.pages[page][at], devicePaintsBold);
        next();
    });
    // A document without rows still has its page, with its number.
    if (begun && page < pages && layout.numberedPages) paintPageNumber(painter, layout, page);
    return begun;
}

} // namespace sorrel::ui::print
