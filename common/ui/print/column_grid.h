// How the columns of a band share the paper's width: each its share, none below what it
// needs, figures never broken; on paper too narrow for that the text gets a little smaller,
// and where even that does not fit the row folds: its text columns on one line, its figures on
// the next.
#pragma once

#include "common/document/document.h"

#include <QVector>

namespace sorrel::ui::print {

struct ColumnGrid {
    // For each column: where it starts, how wide it is, and on which line of the row it sits
    // (1 for the figures of a folded row).
    QVector<double> x;
    QVector<double> widths;
    QVector<int> line;
    // The part of its size the band's text is set at.
    double textScale = 1;
};

// needs: the least width of each column at full text size (its minimum, and for a column of
// figures the widest figure in it); gap: the space between two columns.
ColumnGrid spreadColumns(const QVector<document::Column>& columns, const QVector<double>& needs, double width,
                         double gap);

} // namespace sorrel::ui::print
