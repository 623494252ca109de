// Lays a chart band out in the room the page gives it: the title, the legend of its series,
// the value axis with round steps in yuan, the category labels (turned upright or thinned out
// where they would crowd each other) and the bars, stacked by series. Positions are in the
// device's units from the band's top left corner, so the chart on screen, on paper and in the
// PDF is drawn from the same figures.
#pragma once

#include "common/document/document.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QVector>
#include <optional>

class QPaintDevice;

namespace sorrel::ui::print {

struct PrintMetrics;

struct ChartText {
    QString text;
    // Where the text stands; for upright text the box it covers once turned.
    QRectF box;
    Qt::Alignment align = Qt::AlignCenter;
    // Turned a quarter to the left: it reads upwards.
    bool upright = false;
};

struct ChartBar {
    QRectF box;
    int series = 0;
};

struct ChartLayout {
    // The height the chart takes on the page.
    double height = 0;
    QFont titleFont;
    QFont font;
    double lineWidth = 0;
    std::optional<ChartText> title;
    // The legend: one swatch and one name a series, when there are several.
    QVector<QRectF> swatches;
    QVector<ChartText> legend;
    // The value axis's caption ("元").
    std::optional<ChartText> caption;
    QRectF plot;
    // A thin line across the plot at each step of the value axis, and the step's figure.
    QVector<QLineF> gridLines;
    QVector<ChartText> valueLabels;
    // The line at zero the bars stand on.
    QLineF baseLine;
    QVector<ChartText> categoryLabels;
    QVector<ChartBar> bars;
    // The total at the end of each bar of a chart whose bars run across.
    QVector<ChartText> totals;

    // Every text of the chart in the small font: all but the title.
    QVector<ChartText> labels() const;
};

// The colour of a series: distinct for the first ten, lighter shades after.
QColor seriesColour(int series);

// In `width` x `height` device units; a chart too short for its labels takes the least height
// they need and a few lines of bars (its height is then more than `height`).
ChartLayout layOutChart(const document::Chart& chart, double width, double height,
                        const PrintMetrics& metrics, const QPaintDevice* device);

} // namespace sorrel::ui::print
