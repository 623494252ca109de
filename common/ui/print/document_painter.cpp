#include "common/ui/print/document_painter.h"

#include <QPainter>

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

void paintRow(QPainter& painter, const DocumentLayout& layout, const Placement& at, bool devicePaintsBold) {
    const PlacedRow& row = layout.rows[at.row];
    double y = at.y + (at.atTop ? 0 : row.spaceAbove);
    y = paintRule(painter, layout, row.ruleAbove, y);
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
        paintRow(painter, layout, at, devicePaintsBold);
    if (layout.numberedPages) paintPageNumber(painter, layout, page);
}

} // namespace sorrel::ui::print
