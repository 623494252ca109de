// Lays a document out for one page format on one paint device: the fonts, the column widths,
// every cell's text broken into lines, and the rows shared out over the pages, the column
// titles repeated on each. Measured in the device's own units, so what is measured is what
// is painted.
#pragma once

#include "common/document/document.h"
#include "common/document/document_stream.h"
#include "common/document/page_format.h"
#include "common/ui/print/chart_layout.h"
#include "common/ui/print/column_grid.h"

#include <QFont>
#include <QTextLayout>
#include <QVector>
#include <functional>
#include <memory>

class QPaintDevice;

namespace sorrel::ui::print {

// The sizes a page format gives the document on a device.
struct PrintMetrics {
    QString family;
    double basePointSize = 10;
    double dotsPerMm = 1;
    // One digit of normal text: the unit of a column's minimum width.
    double charWidth = 0;
    double columnGap = 0;
    double bandGap = 0;
    double ruleGap = 0;
    double thinPen = 0;
    double thickPen = 0;
    // The family has no bold face of its own: bold is drawn by the device, which the preview
    // cannot do.
    bool syntheticBold = false;

    QFont font(const document::TextStyle& style, double scale = 1) const;
    double dotsPerPoint() const { return dotsPerMm * 25.4 / 72; }
    double ruleHeight(document::Rule rule) const;
};

struct PlacedCell {
    // From the row's top left corner.
    double x = 0;
    double y = 0;
    double width = 0;
    std::shared_ptr<QTextLayout> text;
    // For bold text in a family without a bold face: how far a second stroke is set beside
    // the first where the device does not embolden; 0 for other text.
    double boldOffset = 0;
};

struct PlacedRow {
    QVector<PlacedCell> cells;
    // Space before the row when it opens a new part of the document; none at a page's top.
    double spaceAbove = 0;
    document::Rule ruleAbove = document::Rule::None;
    document::Rule ruleBelow = document::Rule::None;
    double textHeight = 0;
    // Not left alone at the foot of a page: column titles, a group's caption, the row a
    // group's sums follow.
    bool keepWithNext = false;
    // A column-title row, printed again at the top of every further page.
    bool repeated = false;
    // The chart of a chart band, which stands in the row's place of text.
    std::shared_ptr<const ChartLayout> chart;
};

struct Placement {
    int row = 0;
    double y = 0;
    bool atTop = false;
};

struct DocumentLayout {
    PrintMetrics metrics;
    double width = 0;
    // The height a page's rows may fill; the page number sits in the footer below it.
    double bodyHeight = 0;
    double footerHeight = 0;
    bool numberedPages = false;
    // The grid of each set of columns the document's bands stand on.
    QVector<std::pair<QVector<document::Column>, ColumnGrid>> grids;
    QVector<PlacedRow> rows;
    // False for a document read from its spool: its rows keep their heights but not their text,
    // except the column titles; the painter places them again as it reads the spool once more.
    bool textKept = true;
    QVector<QVector<Placement>> pages;
    // The height the rows of the fullest page take: a roll's page is cut to it.
    double usedHeight = 0;

    double rowHeight(const PlacedRow& row, bool atTop) const;
};

PrintMetrics printMetrics(const document::PageFormat& format, const QPaintDevice* device);

// Lays the document out on a printable area of width x height device units; a height of 0
// lays it out on one page as tall as the content (up to the longest page a PDF can hold).
DocumentLayout layOutDocument(const document::DocumentStream& document, const document::PageFormat& format,
                              const QPaintDevice* device, double width, double height);

// The document's rows placed again on the grids of its layout, in order, each handed to `visit`
// with its index in the layout's rows and then dropped.
void placeRowsAgain(const document::DocumentStream& document, const DocumentLayout& layout,
                    const QPaintDevice* device, const std::function<void(int index, const PlacedRow& row)>& visit);

} // namespace sorrel::ui::print
