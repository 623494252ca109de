// One grid of a report or a query as it leaves the program in a file (CSV, Excel): its captions,
// what kind of figure each column holds, and its rows pulled one at a time, so a year's bill list
// goes out row by row and is never held whole.
#pragma once

#include "common/db/recordset.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

namespace sorrel::exporting {

// What a column holds. A figure goes out as a number a spreadsheet can add up; an empty value
// (NULL, "") as an empty cell.
enum class CellKind {
    Text,
    Integer,
    Money,    // to the cent, two decimals
    Quantity, // up to two decimals
    Percent,  // the figure as shown before its "%": 35.2 for 35.2 %
    Date,     // a QDate, QDateTime or the stored text "yyyy-MM-dd…"
    DateTime,
};

struct ExportColumn {
    QString caption;
    CellKind kind = CellKind::Text;
};

struct Sheet {
    // The worksheet's name in a workbook (a CSV file carries one sheet and no name).
    QString name;
    QVector<ExportColumn> columns;
    // Fills `row` with the next row's values, one per column, and answers true; false once the
    // rows are all out. Called until it answers false, by one writer at a time.
    std::function<bool(QVector<QVariant>& row)> next;
    // How many rows `next` gives, when known (the length of the progress bar); 0 when not.
    int expectedRows = 0;
};

// A sheet of the rows of `rows`, column i from field `fields[i]` (a name the set has).
Sheet recordSetSheet(const QString& name, const QVector<ExportColumn>& columns, const RecordSet& rows,
                     const QStringList& fields);

// A column of a grid as it is shown and exported: its caption, the field of the rows it shows and
// the kind of figure it holds.
struct FieldColumn {
    QString caption;
    QString field;
    CellKind kind = CellKind::Text;
};
// A sheet of the rows of `rows`, one column per entry of `columns`.
Sheet recordSetSheet(const QString& name, const QVector<FieldColumn>& columns, const RecordSet& rows);

// A sheet of a list read page by page: `page(n)` gives the n-th page (from 0), an empty page
// ends the list. Only one page is held at a time.
Sheet pagedSheet(const QString& name, const QVector<ExportColumn>& columns,
                 const std::function<RecordSet(int page)>& page, const QStringList& fields);

} // namespace sorrel::exporting
