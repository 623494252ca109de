#include "common/ui/print/column_grid.h"

#include <algorithm>
#include <numeric>

namespace sorrel::ui::print {

using namespace sorrel::document;

namespace {

// Text never shrinks below this part of its size to make a grid fit.
constexpr double kSmallestTextScale = 0.8;

double room(int columns, double width, double gap) {
    return std::max(0.0, width - gap * (columns - 1));
}

// The text size at which columns [first, last) fit on one line, full size at most.
double scaleToFit(const QVector<double>& needs, int first, int last, double width, double gap) {
    const double need = std::accumulate(needs.begin() + first, needs.begin() + last, 0.0);
    return need > 0 ? std::min(1.0, room(last - first, width, gap) / need) : 1.0;
}

// Lays columns [first, last) across the width on one line. Those whose share falls short of
// their need are held at it and leave the rest to the others; needs that do not fit even so
// all give up the same part.
void spread(ColumnGrid& grid, const QVector<Column>& columns, const QVector<double>& needs, int first,
            int last, double width, double gap, int line) {
    const int n = last - first;
    const double available = room(n, width, gap);
    QVector<double> least(n);
    for (int i = 0; i < n; ++i)
        least[i] = needs[first + i] * grid.textScale;
    const double leastSum = std::accumulate(least.begin(), least.end(), 0.0);
    QVector<double> widths(n);
    if (leastSum >= available) {
        for (int i = 0; i < n; ++i)
            widths[i] = leastSum > 0 ? least[i] * available / leastSum : available / n;
    } else {
        QVector<bool> held(n, false);
        for (bool changed = true; changed;) {
            changed = false;
            double shareSum = 0, rest = available;
            int free = 0;
            for (int i = 0; i < n; ++i) {
                if (held[i]) {
                    rest -= least[i];
                } else {
                    shareSum += std::max(0.0, columns[first + i].share);
                    ++free;
                }
            }
            for (int i = 0; i < n; ++i) {
                if (held[i]) continue;
                const double share =
                    shareSum > 0 ? std::max(0.0, columns[first + i].share) / shareSum : 1.0 / free;
                widths[i] = std::max(least[i], rest * share);
                if (rest * share < least[i]) {
                    held[i] = true;
                    changed = true;
                }
            }
        }
    }
    double x = 0;
    for (int i = 0; i < n; ++i) {
        grid.x[first + i] = x;
        grid.widths[first + i] = widths[i];
        grid.line[first + i] = line;
        x += widths[i] + gap;
    }
}

} // namespace

ColumnGrid spreadColumns(const QVector<Column>& columns, const QVector<double>& needs, double width,
                         double gap) {
    const int n = int(columns.size());
    ColumnGrid grid{QVector<double>(n), QVector<double>(n), QVector<int>(n, 0)};
    const double whole = scaleToFit(needs, 0, n, width, gap);
    // A row folds before its first column of figures.
    int fold = 0;
    while (fold < n && columns[fold].format == NumberFormat::Text)
        ++fold;
    if (whole >= kSmallestTextScale || fold == 0 || fold == n) {
        grid.textScale = std::max(whole, kSmallestTextScale);
        spread(grid, columns, needs, 0, n, width, gap, 0);
        return grid;
    }
    grid.textScale = std::max(kSmallestTextScale, std::min(scaleToFit(needs, 0, fold, width, gap),
                                                           scaleToFit(needs, fold, n, width, gap)));
    spread(grid, columns, needs, 0, fold, width, gap, 0);
    spread(grid, columns, needs, fold, n, width, gap, 1);
    return grid;
}

} // namespace sorrel::ui::print
