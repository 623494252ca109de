#include "common/ui/print/document_layout.h"

#include "common/ui/print/column_grid.h"
#include "common/ui/print/print_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTextOption>
#include <algorithm>

namespace sorrel::ui::print {

using namespace sorrel::document;

namespace {

// A PDF page is at most 200 inches long; a longer roll goes on as further pages.
constexpr double kLongestRollMm = 5000;

double scaleOf(TextSize size) {
    switch (size) {
    case TextSize::Small:
        return 0.85;
    case TextSize::Normal:
        break;
    case TextSize::Large:
        return 1.25;
    case TextSize::Title:
        return 1.6;
    }
    return 1.0;
}

Qt::Alignment qtAlignment(Align align) {
    switch (align) {
    case Align::Left:
        break;
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

std::shared_ptr<QTextLayout> textIn(const Cell& cell, Align align, double width, const QFont& font,
                                    const QPaintDevice* device) {
    auto text = std::make_shared<QTextLayout>(cell.text, font, device);
    QTextOption option(qtAlignment(align));
    // Chinese breaks between any two characters; a long code or number breaks where it must.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text->setTextOption(option);
    text->beginLayout();
    double y = 0;
    for (QTextLine line = text->createLine(); line.isValid(); line = text->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    text->endLayout();
    return text;
}

// Lays the row's cells out on the grid. A cell does not reach past the line of the row it
// starts on; the lines of a folded row stand one under the other.
PlacedRow placeRow(const Row& row, const QVector<Column>& columns, const ColumnGrid& grid,
                   const PrintMetrics& m, const QPaintDevice* device) {
    PlacedRow placed;
    QVector<int> lineOf;
    QVector<double> lineHeight(2, 0.0);
    int column = 0;
    for (const Cell& cell : row.cells) {
        if (column >= columns.size()) break;
        const int line = grid.line[column];
        int last = std::min(int(columns.size()), column + std::max(1, cell.span)) - 1;
        while (grid.line[last] != line)
            --last;
        const double width = grid.x[last] + grid.widths[last] - grid.x[column];
        const QFont font = m.font(cell.style, grid.textScale);
        PlacedCell p{grid.x[column], 0, width,
                     textIn(cell, cell.style.align.value_or(columns[column].align), width, font, device),
                     cell.style.bold && m.syntheticBold ? font.pointSizeF() * 0.04 * m.dotsPerPoint() : 0};
        lineHeight[line] = std::max(lineHeight[line], p.text->boundingRect().height());
        lineOf.append(line);
        placed.cells.append(p);
        column += std::max(1, cell.span);
    }
    for (int i = 0; i < placed.cells.size(); ++i)
        placed.cells[i].y = lineOf[i] > 0 ? lineHeight[0] : 0;
    placed.textHeight = lineHeight[0] + lineHeight[1];
    // The two lines of one folded row stand apart from the next row's.
    if (lineHeight[1] > 0) placed.spaceAbove = m.bandGap / 2;
    return placed;
}

// The width a figure takes, with room for the rounding of smaller text sizes to the device.
double figureWidth(const Cell& cell, const PrintMetrics& m, const QPaintDevice* device) {
    return QFontMetricsF(m.font(cell.style), device).horizontalAdvance(cell.text) * 1.02 + m.charWidth * 0.25;
}

// What each column of a grid needs at full text size: its minimum in digits, and for a column
// of figures the widest figure any band on the grid puts in it.
QVector<double> needsOf(const QVector<Column>& columns, const Document& document, const PrintMetrics& m,
                        const QPaintDevice* device) {
    QVector<double> needs;
    for (const Column& column : columns)
        needs.append(std::max(0, column.minChars) * m.charWidth);
    for (const Band& band : document.bands) {
        if (band.columns != columns) continue;
        for (const Row& row : band.rows) {
            int column = 0;
            for (const Cell& cell : row.cells) {
                if (column >= columns.size()) break;
                if (cell.span <= 1 && columns[column].format != NumberFormat::Text)
                    needs[column] = std::max(needs[column], figureWidth(cell, m, device));
                column += std::max(1, cell.span);
            }
        }
    }
    return needs;
}

// Whether a cell's text would have to wrap in its column.
bool wraps(const PlacedCell& cell) {
    return cell.text->lineCount() > 1;
}

// The rows of a band as they go on the paper: fields that would wrap side by side stand one
// under the other, each across the page.
QVector<PlacedRow> placeBand(const Band& band, const ColumnGrid& grid, double width, const PrintMetrics& m,
                             const QPaintDevice* device) {
    QVector<PlacedRow> rows;
    for (const Row& row : band.rows) {
        const PlacedRow placed = placeRow(row, band.columns, grid, m, device);
        if (!band.stacksWhenNarrow || std::none_of(placed.cells.begin(), placed.cells.end(), wraps)) {
            rows.append(placed);
            continue;
        }
        const QVector<Column> across = {band.columns.value(0)};
        for (const Cell& cell : row.cells)
            rows.append(
                placeRow(Row{{cell.spanning(1)}}, across, ColumnGrid{{0.0}, {width}, {0}}, m, device));
    }
    return rows;
}

// Space opens each new part of the document; details follow their caption and a group's sums
// follow its details directly.
bool opensNewPart(BandKind kind, BandKind previous) {
    return kind != previous && kind != BandKind::Detail && kind != BandKind::GroupFooter;
}

// A chart band as the one row it prints as: as tall as the band asks, but no taller than a page,
// so it goes whole onto the next page where the rest of this one is too short.
PlacedRow placeChart(const Chart& chart, double width, double pageHeight, const PrintMetrics& m,
                     const QPaintDevice* device) {
    PlacedRow placed;
    auto laidOut = std::make_shared<ChartLayout>(
        layOutChart(chart, width, std::min(chart.heightMm * m.dotsPerMm, pageHeight), m, device));
    placed.textHeight = laidOut->height;
    placed.chart = laidOut;
    return placed;
}

QVector<PlacedRow> placeRows(const Document& document, double width, double pageHeight, const PrintMetrics& m,
                             const QPaintDevice* device) {
    QVector<PlacedRow> rows;
    // Every band on the same columns shares one grid, so its figures stand under each other.
    QVector<std::pair<QVector<Column>, ColumnGrid>> grids;
    for (qsizetype b = 0; b < document.bands.size(); ++b) {
        const Band& band = document.bands[b];
        if (band.kind == BandKind::Chart && band.chart) {
            PlacedRow chart = placeChart(*band.chart, width, pageHeight, m, device);
            if (b > 0) chart.spaceAbove = m.bandGap;
            chart.ruleAbove = band.ruleAbove;
            chart.ruleBelow = band.ruleBelow;
            rows.append(chart);
            continue;
        }
        if (band.rows.isEmpty()) continue;
        auto grid =
            std::find_if(grids.begin(), grids.end(), [&](const auto& g) { return g.first == band.columns; });
        if (grid == grids.end()) {
            const QVector<double> needs = needsOf(band.columns, document, m, device);
            grids.append({band.columns, spreadColumns(band.columns, needs, width, m.columnGap)});
            grid = grids.end() - 1;
        }
        if (!rows.isEmpty() && (band.kind == BandKind::GroupFooter || band.kind == BandKind::Summary))
            rows.last().keepWithNext = true;
        const qsizetype first = rows.size();
        for (PlacedRow placed : placeBand(band, grid->second, width, m, device)) {
            placed.keepWithNext = band.kind == BandKind::ColumnHeader || band.kind == BandKind::GroupHeader;
            placed.repeated = band.kind == BandKind::ColumnHeader;
            rows.append(placed);
        }
        if (b > 0 && opensNewPart(band.kind, document.bands[b - 1].kind)) rows[first].spaceAbove = m.bandGap;
        rows[first].ruleAbove = band.ruleAbove;
        rows.last().ruleBelow = band.ruleBelow;
    }
    return rows;
}

// Shares the rows out over pages of the body height. A row that does not fit, or would leave
// the rows it keeps with behind, starts a new page, which opens with the column titles; a chart
// opening a page goes without them, and the rows after it on that page get them.
void paginate(DocumentLayout& layout) {
    layout.pages = {{}};
    QVector<int> titles;
    double y = 0;
    int bodyRows = 0;
    bool titlesDue = false;
    auto place = [&](int row) {
        const bool atTop = y == 0;
        layout.pages.last().append(Placement{row, y, atTop});
        y += layout.rowHeight(layout.rows[row], atTop);
        layout.usedHeight = std::max(layout.usedHeight, y);
    };
    for (int i = 0; i < layout.rows.size(); ++i) {
        const PlacedRow& row = layout.rows[i];
        if (row.repeated) {
            if (i == 0 || !layout.rows[i - 1].repeated) titles.clear();
            titles.append(i);
        }
        const bool takesTitles = !row.repeated && !row.chart;
        double needed = layout.rowHeight(row, y == 0);
        for (int j = i; layout.rows[j].keepWithNext && j + 1 < layout.rows.size(); ++j)
            needed += layout.rowHeight(layout.rows[j + 1], false);
        if (needed > layout.bodyHeight / 2) needed = layout.rowHeight(row, y == 0);
        if (titlesDue && takesTitles)
            for (int title : titles)
                needed += layout.rowHeight(layout.rows[title], false);
        if (bodyRows > 0 && y + needed > layout.bodyHeight) {
            layout.pages.append(QVector<Placement>());
            y = 0;
            bodyRows = 0;
            titlesDue = true;
        }
        if (titlesDue && takesTitles)
            for (int title : titles)
                place(title);
        if (!row.chart) titlesDue = false;
        place(i);
        ++bodyRows;
    }
}

} // namespace

QFont PrintMetrics::font(const TextStyle& style, double scale) const {
    QFont f(family);
    f.setPointSizeF(basePointSize * scaleOf(style.size) * scale);
    f.setBold(style.bold);
    f.setUnderline(style.underline);
    f.setStyleStrategy(QFont::PreferOutline);
    // Unhinted outlines measure alike on the preview, the PDF and the printer.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

double PrintMetrics::ruleHeight(Rule rule) const {
    switch (rule) {
    case Rule::None:
        return 0;
    case Rule::Thick:
        return 2 * ruleGap + thickPen;
    case Rule::Thin:
    case Rule::Dashed:
        break;
    }
    return 2 * ruleGap + thinPen;
}

double DocumentLayout::rowHeight(const PlacedRow& row, bool atTop) const {
    return (atTop ? 0 : row.spaceAbove) + metrics.ruleHeight(row.ruleAbove) + row.textHeight +
           metrics.ruleHeight(row.ruleBelow);
}

PrintMetrics printMetrics(const PageFormat& format, const QPaintDevice* device) {
    PrintMetrics m;
    m.family = printFontFamily();
    m.basePointSize = format.basePointSize;
    m.dotsPerMm = device->logicalDpiX() / 25.4;
    m.syntheticBold = !QFontDatabase::styles(m.family).contains(QStringLiteral("Bold"), Qt::CaseInsensitive);
    const QFontMetricsF normal(m.font({}), device);
    m.charWidth = normal.horizontalAdvance(QLatin1Char('0'));
    m.columnGap = m.charWidth * 0.8;
    m.bandGap = normal.lineSpacing() * 0.5;
    m.ruleGap = 0.6 * m.dotsPerMm;
    m.thinPen = 0.25 * m.dotsPerMm;
    m.thickPen = 0.5 * m.dotsPerMm;
    return m;
}

DocumentLayout layOutDocument(const Document& document, const PageFormat& format, const QPaintDevice* device,
                              double width, double height) {
    DocumentLayout layout;
    layout.metrics = printMetrics(format, device);
    layout.width = width;
    layout.numberedPages = format.numberedPages && height > 0;
    if (layout.numberedPages)
        layout.footerHeight =
            QFontMetricsF(layout.metrics.font({.size = TextSize::Small}), device).lineSpacing() * 2;
    layout.bodyHeight = height > 0 ? height - layout.footerHeight : kLongestRollMm * layout.metrics.dotsPerMm;
    // A chart leaves room for its rules and the space above it on a page of its own.
    const double chartRoom = layout.bodyHeight - 2 * layout.metrics.ruleHeight(Rule::Thick);
    layout.rows = placeRows(document, width, chartRoom, layout.metrics, device);
    paginate(layout);
    return layout;
}

} // namespace sorrel::ui::print
