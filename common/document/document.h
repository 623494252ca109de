// A printed document as plain data: bands of rows of text cells on a grid of columns. Logic
// code builds it (see document_builder.h) and the renderer in common/ui/print paints it on any
// page format, so a bill or a report is written once for the A4 sheet and the receipt roll.
#pragma once

#include <QString>
#include <QVector>
#include <optional>

namespace sorrel::document {

enum class Align { Left, Center, Right };

// Relative to the page format's normal size, so the same document suits the sheet and the roll.
enum class TextSize { Small, Normal, Large, Title };

// How the figure of a number cell is written.
enum class NumberFormat {
    Text,     // not a figure
    Money,    // two decimals, rounded to the cent as the bill rounds: 56.00
    Quantity, // up to two decimals, no trailing zeros: 2, 1.5
};

// A line across the page between bands.
enum class Rule { None, Thin, Thick, Dashed };

enum class BandKind {
    Title,        // the document's name, printed once at the top
    Header,       // lines and fields above the details: the venue, the business date, the guest
    ColumnHeader, // the column titles, repeated at the top of every page
    GroupHeader,  // the caption of a group of details, e.g. a kind of dishes
    Detail,       // one row per line of the bill or the report
    GroupFooter,  // a group's sums
    Summary,      // the grand totals and the lines below the details
    Chart,        // a bar chart across the page (the band's chart; its rows are unused)
};

// Bars over categories (business days, months, items): one bar per category, stacked by
// series (the kinds of dishes) when there are several. Values are amounts in yuan; the value
// axis is labelled with them.
struct ChartSeries {
    QString name;
    // One value per category.
    QVector<double> values;
    bool operator==(const ChartSeries&) const = default;
};

struct Chart {
    QString title;
    QVector<QString> categories;
    QVector<ChartSeries> series;
    // The caption of the value axis, e.g. "元".
    QString valueCaption;
    // Bars run across the page (the top items) instead of upwards (the days).
    bool horizontal = false;
    // The chart's height on the page in millimetres.
    double heightMm = 80;
    bool operator==(const Chart&) const = default;
};

// One column of a grid. Widths are shares, not sizes: a column takes its share of the paper's
// width, but never less than minChars digits of normal text (nor, for figures, than its widest
// figure); text that does not fit wraps. So on A4 the columns spread out and on the 72 mm roll
// they shrink to their minimum, the figures stay whole and long names wrap onto a second line.
// A grid with more figures than the roll has room for prints each row on two lines: its text
// columns, then its figures.
struct Column {
    QString title;
    double share = 1;
    int minChars = 4;
    Align align = Align::Left;
    NumberFormat format = NumberFormat::Text;
    // Group footers and the totals add this column up.
    bool summed = false;

    static Column text(const QString& title, double share = 1, int minChars = 4);
    static Column centred(const QString& title, double share = 1, int minChars = 4);
    static Column money(const QString& title, double share = 1, int minChars = 8);
    static Column quantity(const QString& title, double share = 1, int minChars = 5);
    Column summing() const;
    bool operator==(const Column&) const = default;
};

struct TextStyle {
    // Unset: the column's alignment.
    std::optional<Align> align = std::nullopt;
    TextSize size = TextSize::Normal;
    bool bold = false;
    bool underline = false;
};

struct Cell {
    QString text;
    // The figure behind a number cell: what group footers and totals add up.
    std::optional<double> value;
    // How many columns of the band's grid the cell covers.
    int span = 1;
    TextStyle style;

    Cell() = default;
    Cell(const QString& text) : text(text) {}
    // A figure: written by its column's number format when the row is added.
    Cell(double value) : value(value) {}
    Cell spanning(int columns) const;
    Cell styled(const TextStyle& style) const;
};

struct Row {
    QVector<Cell> cells;
};

struct Band {
    BandKind kind = BandKind::Detail;
    // The grid the rows sit on: the document's columns, or a band's own (a header of two
    // equal fields, a line across the page).
    QVector<Column> columns;
    QVector<Row> rows;
    Rule ruleAbove = Rule::None;
    Rule ruleBelow = Rule::None;
    // Fields side by side that go one under the other where the paper is too narrow for a
    // field to stand on one line.
    bool stacksWhenNarrow = false;
    // The chart of a Chart band.
    std::optional<Chart> chart;
};

struct Document {
    // The print job's and the PDF's title.
    QString name;
    QVector<Column> columns;
    QVector<Band> bands;
};

} // namespace sorrel::document
