// What one exported cell holds, read once from the row's value by its column's kind, so the CSV
// file and the workbook write the same figure, the same day and the same text.
#pragma once

#include "common/export/sheet.h"

#include <QDateTime>

namespace sorrel::exporting {

struct CellValue {
    enum class Type { Empty, Number, Date, DateTime, Text };
    Type type = Type::Empty;
    // A figure, rounded as it is shown: money, quantities and percentages to the cent.
    double number = 0;
    QDateTime moment;
    QString text;

    // The cell as a CSV file writes it: figures without thousands separators, a day as
    // 2024-06-03, a moment as 2024-06-03 18:30:00. Text is given as it stands.
    QString written(CellKind kind) const;
};

// A value that does not fit its column's kind (a word in a money column) goes out as text.
CellValue cellValue(const QVariant& value, CellKind kind);

// How wide a text shows in a grid, in digits: a Chinese character counts two.
int displayWidth(const QString& text);

} // namespace sorrel::exporting
