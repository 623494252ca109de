// How values travel between the programs and the server: "?" placeholders numbered the server's
// way, values bound with types the server compares with any column, and results read back as
// the same kinds of value the file engine gives.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

struct pg_result;

namespace sorrel::pg {

// A statement with its "?" placeholders numbered "$1", "$2", …, and for each whether it stands
// right after a comparison ("= ?", "<> ?", "<= ?", …).
struct Placeholders {
    QString sql;
    QList<bool> compared;
};
Placeholders numberPlaceholders(const QString& sql);

// One bound value as the server receives it. Integers and flags go as integers and fractions as
// double, so arithmetic and inserts into number columns work; date-times as timestamps in the
// canonical form; text as "unknown", which the server reads as whatever the column it meets is
// (text, a number, a timestamp) just as the file engine compares a text value with any column.
struct Bound {
    unsigned type = 0; // the server's type number; 0 lets the server decide
    QByteArray text;
    bool null = false;
    bool binary = false;
};

// A whole number compared with a column goes as "unknown" too, so that it also finds a code
// held as text ("pay_set_code = 7"), as the file engine's text columns do.
Bound bindValue(const QVariant& value, bool compared);

// One field of a result: integers as qlonglong, fractions as double, date-times as canonical
// text, text as QString, NULL as a null QVariant.
QVariant readValue(const pg_result* result, int row, int column);

} // namespace sorrel::pg
