#include "common/ui/print/chart_layout.h"

#include "common/document/number_format.h"
#include "common/ui/print/document_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace sorrel::ui::print {

using namespace sorrel::document;

namespace {

// A bar takes this part of its category's room; the rest parts it from its neighbours.
constexpr double kBarShare = 0.7;
// Category labels across a chart whose bars run across take at most this part of its width.
constexpr double kLabelColumnShare = 0.35;
// Upright category labels take at most this part of the chart's height.
constexpr double kUprightLabelShare = 0.3;

struct Range {
    double low = 0;
    double high = 0;
};

// The bars' reach: what the positive values stack up to and the negative ones down to.
Range stackedRange(const Chart& chart) {
    Range range;
    for (int c = 0; c < chart.categories.size(); ++c) {
        double up = 0, down = 0;
        for (const ChartSeries& series : chart.series) {
            const double value = series.values.value(c);
            (value >= 0 ? up : down) += value;
        }
        range.high = std::max(range.high, up);
        range.low = std::min(range.low, down);
    }
    // Nothing sold: an axis of a hundred yuan, not of fractions of one.
    if (range.high == range.low) range.high = 100;
    return range;
}

// Round steps for the value axis: 1, 2 or 5 times a power of ten, at most `most` of them over
// the range, which they widen to whole steps.
QVector<double> niceSteps(const Range& range, int most) {
    const double span = range.high - range.low;
    const double rough = span / std::max(1, most);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * power;
        if (span / step <= most + 1e-9) break;
    }
    const long long first = std::llround(std::floor(range.low / step + 1e-9));
    const long long last = std::llround(std::ceil(range.high / step - 1e-9));
    QVector<double> steps;
    for (long long i = first; i <= std::max(last, first + 1); ++i)
        steps.append(double(i) * step);
    return steps;
}

// A step's figure: whole yuan, tens of thousands as 万 where the figures grow long.
QString stepText(double value, double step, double largest) {
    if (largest >= 100000 && std::fmod(step, 10000) == 0)
        return value == 0 ? QStringLiteral("0")
                          : QString::number(value / 10000, 'f', 0) + QStringLiteral("万");
    const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
    return QString::number(value, 'f', decimals);
}

class ChartBuilder {
  public:
    ChartBuilder(const Chart& chart, double width, double height, const PrintMetrics& m,
                 const QPaintDevice* device)
        : chart_(chart), width_(width), height_(height),
          small_(QFontMetricsF(m.font({.size = TextSize::Small}), device)),
          titleMetrics_(QFontMetricsF(m.font({.bold = true}), device)) {
        out_.font = m.font({.size = TextSize::Small});
        out_.titleFont = m.font({.bold = true});
        out_.lineWidth = m.thinPen;
        line_ = small_.height();
        gap_ = line_ * 0.4;
    }

    ChartLayout build() {
        double y = 0;
        if (!chart_.title.isEmpty()) {
            const double h = titleMetrics_.height();
            out_.title = ChartText{chart_.title, QRectF(0, 0, width_, h), Qt::AlignCenter};
            y += h + gap_;
        }
        y = placeLegend(y);
        if (!chart_.valueCaption.isEmpty()) {
            const double w = small_.horizontalAdvance(chart_.valueCaption) + 1;
            out_.caption =
                ChartText{chart_.valueCaption, QRectF(chart_.horizontal ? width_ - w : 0, y, w, line_),
                          Qt::AlignCenter};
            y += line_;
        }
        // The top step's figure stands half above the plot.
        if (!chart_.horizontal) y += line_ / 2;
        if (chart_.horizontal)
            placeAcross(y);
        else
            placeUpwards(y);
        return out_;
    }

  private:
    // The legend's swatches and names flow across the width, as many lines as they need.
    double placeLegend(double y) {
        if (chart_.series.size() < 2) return y;
        const double swatch = line_ * 0.7;
        double x = 0;
        for (int s = 0; s < chart_.series.size(); ++s) {
            const QString name = small_.elidedText(chart_.series[s].name, Qt::ElideRight, width_ / 2);
            const double itemWidth = swatch + gap_ / 2 + small_.horizontalAdvance(name) + 1;
            if (x > 0 && x + itemWidth > width_) {
                x = 0;
                y += line_;
            }
            out_.swatches.append(QRectF(x, y + (line_ - swatch) / 2, swatch, swatch));
            out_.legend.append(
                ChartText{name, QRectF(x + swatch + gap_ / 2, y, itemWidth - swatch - gap_ / 2, line_),
                          Qt::AlignLeft | Qt::AlignVCenter});
            x += itemWidth + gap_ * 2;
        }
        return y + line_ + gap_;
    }

    // The chart's height: what it was given, but never so little that the bars get less than a
    // few lines of room beside the axis and the labels.
    double plotBottom(double top, double below) {
        out_.height = std::max(height_, top + 4 * line_ + below);
        return out_.height - below;
    }

    double widestLabel() const {
        double widest = 0;
        for (const QString& category : chart_.categories)
            widest = std::max(widest, small_.horizontalAdvance(category));
        return widest;
    }

    // Bars that stand on the bottom axis over their categories (the business days, the months).
    void placeUpwards(double top) {
        const Range reach = stackedRange(chart_);
        const int count = std::max<qsizetype>(1, chart_.categories.size());
        // The value labels' width depends on the steps, the steps on the plot's height: the
        // chart's own height gives a first count of steps, the labels' width then follows.
        QVector<double> steps = niceSteps(reach, std::max(2, int((height_ - top) / (line_ * 2.5))));
        double labelWidth = 0;
        for (const double step : steps)
            labelWidth = std::max(
                labelWidth, small_.horizontalAdvance(stepText(step, steps[1] - steps[0], largest(steps))));
        const double left = labelWidth + gap_;
        const double plotWidth = width_ - left - gap_;
        const double slot = plotWidth / count;
        const double widest = widestLabel();
        const bool upright = widest > slot * 0.95;
        const double labelLength = upright ? std::min(widest, height_ * kUprightLabelShare) : line_;
        const double bottom = plotBottom(top, labelLength + gap_);
        out_.plot = QRectF(left, top, plotWidth, bottom - top);
        steps = fewerSteps(steps, reach, out_.plot.height(), line_ * 1.5);
        const double low = steps.first(), high = steps.last();
        auto yOf = [&](double value) {
            return out_.plot.bottom() - (value - low) / (high - low) * out_.plot.height();
        };
        for (const double step : steps) {
            const double y = yOf(step);
            out_.gridLines.append(QLineF(left, y, out_.plot.right(), y));
            out_.valueLabels.append(ChartText{stepText(step, steps[1] - steps[0], largest(steps)),
                                              QRectF(0, y - line_ / 2, labelWidth, line_),
                                              Qt::AlignRight | Qt::AlignVCenter});
        }
        out_.baseLine = QLineF(left, yOf(0), out_.plot.right(), yOf(0));
        // Labels a line apart at the least: where the categories stand closer, only every n-th.
        const int every = upright ? std::max(1, int(std::ceil(line_ * 1.1 / slot))) : 1;
        for (int c = 0; c < chart_.categories.size(); ++c) {
            const double x = left + c * slot;
            stackBars(c, [&](double from, double to) {
                return QRectF(QPointF(x + slot * (1 - kBarShare) / 2, yOf(to)),
                              QPointF(x + slot * (1 + kBarShare) / 2, yOf(from)));
            });
            if (c % every != 0) continue;
            const QString text =
                small_.elidedText(chart_.categories[c], Qt::ElideRight, upright ? labelLength : slot);
            if (upright)
                out_.categoryLabels.append(
                    ChartText{text, QRectF(x + (slot - line_) / 2, bottom + gap_ / 2, line_, labelLength),
                              Qt::AlignRight | Qt::AlignVCenter, true});
            else
                out_.categoryLabels.append(ChartText{text, QRectF(x, bottom + gap_ / 2, slot, line_),
                                                     Qt::AlignHCenter | Qt::AlignTop});
        }
    }

    // The bars of category `c`, one a series, stacked from the axis: positive values one way,
    // negative ones the other. `place(from, to)` gives a bar's box between two running totals.
    // Returns where the positive values end.
    template <typename Place> double stackBars(int c, Place place) {
        double positive = 0, negative = 0;
        for (int s = 0; s < chart_.series.size(); ++s) {
            const double value = chart_.series[s].values.value(c);
            if (value == 0) continue;
            double& end = value > 0 ? positive : negative;
            out_.bars.append(ChartBar{place(end, end + value).normalized(), s});
            end += value;
        }
        return positive;
    }

    // Bars that run across from the left axis, one line a category (the top items), each with
    // its total at its end.
    void placeAcross(double top) {
        const Range reach = stackedRange(chart_);
        const int count = std::max<qsizetype>(1, chart_.categories.size());
        const double labelWidth = std::min(widestLabel(), width_ * kLabelColumnShare);
        const double left = labelWidth + gap_;
        double totalWidth = 0;
        QVector<double> totals(chart_.categories.size(), 0.0);
        for (int c = 0; c < totals.size(); ++c) {
            for (const ChartSeries& series : chart_.series)
                totals[c] += series.values.value(c);
            totalWidth =
                std::max(totalWidth, small_.horizontalAdvance(formatNumber(totals[c], NumberFormat::Money)));
        }
        const double plotWidth = width_ - left - totalWidth - gap_;
        const double bottom = plotBottom(top, line_ + gap_);
        out_.plot = QRectF(left, top, plotWidth, bottom - top);
        // As many steps as their figures have room for side by side.
        QVector<double> steps = niceSteps(reach, 8);
        double figureWidth = 0;
        for (const double step : steps)
            figureWidth = std::max(
                figureWidth, small_.horizontalAdvance(stepText(step, steps[1] - steps[0], largest(steps))));
        steps = fewerSteps(steps, reach, plotWidth, figureWidth * 1.25);
        const double low = steps.first(), high = steps.last();
        auto xOf = [&](double value) { return left + (value - low) / (high - low) * plotWidth; };
        for (const double step : steps) {
            const double x = xOf(step);
            out_.gridLines.append(QLineF(x, top, x, bottom));
            const QString text = stepText(step, steps[1] - steps[0], largest(steps));
            const double w = small_.horizontalAdvance(text) + 1;
            const double at = std::clamp(x - w / 2, left - gap_, width_ - w);
            out_.valueLabels.append(
                ChartText{text, QRectF(at, bottom + gap_ / 2, w, line_), Qt::AlignCenter});
        }
        out_.baseLine = QLineF(xOf(0), top, xOf(0), bottom);
        const double slot = out_.plot.height() / count;
        const int every = std::max(1, int(std::ceil(line_ * 1.05 / slot)));
        for (int c = 0; c < chart_.categories.size(); ++c) {
            const double y = top + c * slot;
            const double right = stackBars(c, [&](double from, double to) {
                return QRectF(QPointF(xOf(from), y + slot * (1 - kBarShare) / 2),
                              QPointF(xOf(to), y + slot * (1 + kBarShare) / 2));
            });
            if (c % every != 0) continue;
            const QRectF lineBox(0, y + (slot - line_) / 2, labelWidth, line_);
            out_.categoryLabels.append(
                ChartText{small_.elidedText(chart_.categories[c], Qt::ElideRight, labelWidth), lineBox,
                          Qt::AlignRight | Qt::AlignVCenter});
            const QString total = formatNumber(totals[c], NumberFormat::Money);
            const double end = xOf(std::max(0.0, right));
            out_.totals.append(ChartText{
                total, QRectF(end + gap_ / 2, lineBox.top(), small_.horizontalAdvance(total) + 1, line_),
                Qt::AlignLeft | Qt::AlignVCenter});
        }
    }

    static double largest(const QVector<double>& steps) {
        return std::max(std::abs(steps.first()), std::abs(steps.last()));
    }

    // Steps at least `apart` units from each other on an axis of `length` units.
    static QVector<double> fewerSteps(QVector<double> steps, const Range& reach, double length,
                                      double apart) {
        for (int most = int(steps.size()) - 1; most > 1 && length / double(steps.size() - 1) < apart;)
            steps = niceSteps(reach, --most);
        return steps;
    }

    const Chart& chart_;
    double width_;
    double height_;
    QFontMetricsF small_;
    QFontMetricsF titleMetrics_;
    double line_ = 0;
    double gap_ = 0;
    ChartLayout out_;
};

} // namespace

QVector<ChartText> ChartLayout::labels() const {
    QVector<ChartText> all;
    if (caption) all.append(*caption);
    all += legend;
    all += valueLabels;
    all += categoryLabels;
    all += totals;
    return all;
}

QColor seriesColour(int series) {
    static const QColor kColours[] = {QColor(0x4E, 0x79, 0xA7), QColor(0xF2, 0x8E, 0x2B),
                                      QColor(0xE1, 0x57, 0x59), QColor(0x76, 0xB7, 0xB2),
                                      QColor(0x59, 0xA1, 0x4F), QColor(0xED, 0xC9, 0x48),
                                      QColor(0xB0, 0x7A, 0xA1), QColor(0xFF, 0x9D, 0xA7),
                                      QColor(0x9C, 0x75, 0x5F), QColor(0xBA, 0xB0, 0xAC)};
    const int count = int(std::size(kColours));
    const QColor base = kColours[series % count];
    return series < count ? base : base.lighter(100 + 35 * (series / count));
}

ChartLayout layOutChart(const Chart& chart, double width, double height, const PrintMetrics& metrics,
                        const QPaintDevice* device) {
    return ChartBuilder(chart, width, height, metrics, device).build();
}

} // namespace sorrel::ui::print
