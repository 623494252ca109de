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

// What each set of columns of the document needs at full text size: each column's minimum in
// digits, and for a column of figures the widest figure any band on those columns puts in it.
QVector<std::pair<QVector<Column>, QVector<double>>> needsOf(const DocumentStream& document, const PrintMetrics& m,
                                                             const QPaintDevice* device) {
    QVector<std::pair<QVector<Column>, QVector<double>>> needs;
    document.forEachBand([&](const Band& band) {
        if (band.kind == BandKind::Chart && band.chart) return;
        auto grid = std::find_if(needs.begin(), needs.end(), [&](const auto& g) { return g.first == band.columns; });
        if (grid == needs.end()) {
            QVector<double> least;
            for (const Column& column : band.columns)
                least.append(std::max(0, column.minChars) * m.charWidth);
            needs.append({band.columns, least});
            grid = needs.end() - 1;
        }
        const QVector<Column>& columns = band.columns;
        for (const Row& row : band.rows) {
            int column = 0;
            for (const Cell& cell : row.cells) {
                if (column >= columns.size()) break;
                if (cell.span <= 1 && columns[column].format != NumberFormat::Text)
                    grid->second[column] = std::max(grid->second[column], figureWidth(cell, m, device));
                column += std::max(1, cell.span);
            }
        }
    });
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

// Places the bands of a document one after another, each on the grid of its columns.
class BandPlacer {
  public:
    BandPlacer(const DocumentLayout& layout, const QPaintDevice* device) : layout_(layout), device_(device) {}

    // The band's rows; `previous` is the last row placed before them, which a group's sums or
    // the totals keep with them.
    QVector<PlacedRow> place(const Band& band, PlacedRow* previous) {
        const bool first = !begun_;
        const BandKind previousKind = previousKind_;
        begun_ = true;
        previousKind_ = band.kind;
        const PrintMetrics& m = layout_.metrics;
        if (band.kind == BandKind::Chart && band.chart) {
            PlacedRow chart = placeChart(*band.chart, layout_.width, chartRoom(), m, device_);
            if (!first) chart.spaceAbove = m.bandGap;
            chart.ruleAbove = band.ruleAbove;
            chart.ruleBelow = band.ruleBelow;
            return {chart};
        }
        if (band.rows.isEmpty()) return {};
        const auto grid = std::find_if(layout_.grids.begin(), layout_.grids.end(),
                                       [&](const auto& g) { return g.first == band.columns; });
        Q_ASSERT(grid != layout_.grids.end());
        if (grid == layout_.grids.end()) return {};
        if (previous && (band.kind == BandKind::GroupFooter || band.kind == BandKind::Summary))
            previous->keepWithNext = true;
        QVector<PlacedRow> rows = placeBand(band, grid->second, layout_.width, m, device_);
        for (PlacedRow& placed : rows) {
            placed.keepWithNext = band.kind == BandKind::ColumnHeader || band.kind == BandKind::GroupHeader;
            placed.repeated = band.kind == BandKind::ColumnHeader;
        }
        if (!first && opensNewPart(band.kind, previousKind)) rows.first().spaceAbove = m.bandGap;
        rows.first().ruleAbove = band.ruleAbove;
        rows.last().ruleBelow = band.ruleBelow;
        return rows;
    }

  private:
    // A chart leaves room for its rules and the space above it on a page of its own.
    double chartRoom() const { return layout_.bodyHeight - 2 * layout_.metrics.ruleHeight(Rule::Thick); }

    const DocumentLayout& layout_;
    const QPaintDevice* device_;
    bool begun_ = false;
    BandKind previousKind_ = BandKind::Title;
};

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

DocumentLayout layOutDocument(const DocumentStream& document, const PageFormat& format, const QPaintDevice* device,
                              double width, double height) {
    DocumentLayout layout;
    layout.metrics = printMetrics(format, device);
    layout.width = width;
    layout.numberedPages = format.numberedPages && height > 0;
    if (layout.numberedPages)
        layout.footerHeight =
            QFontMetricsF(layout.metrics.font({.size = TextSize::Small}), device).lineSpacing() * 2;
    layout.bodyHeight = height > 0 ? height - layout.footerHeight : kLongestRollMm * layout.metrics.dotsPerMm;
    // Every band on the same columns shares one grid, so its figures stand under each other.
    for (const auto& [columns, needs] : needsOf(document, layout.metrics, device))
        layout.grids.append({columns, spreadColumns(columns, needs, width, layout.metrics.columnGap)});
    // A document read from its spool keeps only what it takes to share its rows out over the
    // pages; the column titles keep their text, for the top of every page.
    layout.textKept = document.isWhole();
    BandPlacer placer(layout, device);
    document.forEachBand([&](const Band& band) {
        for (PlacedRow& placed : placer.place(band, layout.rows.isEmpty() ? nullptr : &layout.rows.last())) {
            if (!layout.textKept && !placed.repeated) placed.cells = {};
            layout.rows.append(std::move(placed));
        }
    });
    paginate(layout);
    return layout;
}

void placeRowsAgain(const DocumentStream& document, const DocumentLayout& layout, const QPaintDevice* device,
                    const std::function<void(int index, const PlacedRow& row)>& visit) {
    BandPlacer placer(layout, device);
    int index = 0;
    document.forEachBand([&](const Band& band) {
        for (const PlacedRow& placed : placer.place(band, nullptr))
            visit(index++, placed);
    });
}

} // namespace sorrel::ui::print
