#include "common/export/sheet.h"

#include "common/db/errors.h"

#include <memory>

namespace sorrel::exporting {

Sheet recordSetSheet(const QString& name, const QVector<ExportColumn>& columns, const RecordSet& rows,
                     const QStringList& fields) {
    Sheet sheet = pagedSheet(
        name, columns, [rows](int page) { return page == 0 ? rows : RecordSet(); }, fields);
    sheet.expectedRows = rows.rowCount();
    return sheet;
}

Sheet pagedSheet(const QString& name, const QVector<ExportColumn>& columns,
                 const std::function<RecordSet(int page)>& page, const QStringList& fields) {
    struct Reading {
        RecordSet rows;
        QVector<int> fieldIndexes;
        int page = -1;
        int row = 0;
        bool done = false;
    };
    // Shared by the copies of the sheet: one pass over the list, whoever pulls.
    auto reading = std::make_shared<Reading>();
    return Sheet{name, columns, [reading, page, fields](QVector<QVariant>& out) {
                     Reading& r = *reading;
                     while (!r.done && r.row >= r.rows.rowCount()) {
                         r.rows = page(++r.page);
                         r.row = 0;
                         r.done = r.rows.isEmpty();
                         r.fieldIndexes.clear();
                         for (const QString& field : fields) {
                             const int index = r.rows.columnIndex(field);
                             if (!r.done && index < 0)
                                 throw DbError(
                                     QStringLiteral("exported field %1 is not in the list").arg(field));
                             r.fieldIndexes.append(index);
                         }
                     }
                     if (r.done) return false;
                     out.resize(r.fieldIndexes.size());
                     for (int i = 0; i < r.fieldIndexes.size(); ++i)
                         out[i] = r.rows.value(r.row, r.fieldIndexes[i]);
                     ++r.row;
                     return true;
                 }};
}

Sheet recordSetSheet(const QString& name, const QVector<FieldColumn>& columns, const RecordSet& rows) {
    QVector<ExportColumn> exported;
    QStringList fields;
    for (const FieldColumn& c : columns) {
        exported.append({c.caption, c.kind});
        fields << c.field;
    }
    return recordSetSheet(name, exported, rows, fields);
}

} // namespace sorrel::exporting
