#include "common/export/csv_file.h"

#include "common/export/cell_value.h"
#include "common/export/export_file.h"

#include <QSaveFile>

namespace sorrel::exporting {

namespace {

// Written out in pieces of this size, so a long list never sits whole in memory.
constexpr qsizetype kChunkBytes = 1 << 16;

bool startsLikeFormula(const QString& text) {
    if (text.isEmpty()) return false;
    const QChar first = text.front();
    return first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' ||
           first == u'\r';
}

QString field(QString text) {
    if (text.contains(u'"') || text.contains(u',') || text.contains(u'\n') || text.contains(u'\r'))
        return u'"' + text.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    return text;
}

QString textField(const QString& text) {
    return field(startsLikeFormula(text) ? u'\'' + text : text);
}

void appendLine(QByteArray& out, const QStringList& fields) {
    out += fields.join(u',').toUtf8();
    out += "\r\n";
}

void flush(QSaveFile& file, QByteArray& out) {
    if (file.write(out) != out.size()) refuseWriting(file.fileName());
    out.clear();
}

} // namespace

void writeCsvFile(const QString& path, const Sheet& sheet) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) refuseWriting(path);
    QByteArray out("\xEF\xBB\xBF");
    QStringList fields;
    for (const ExportColumn& column : sheet.columns)
        fields.append(textField(column.caption));
    appendLine(out, fields);
    QVector<QVariant> row;
    while (sheet.next(row)) {
        fields.clear();
        for (int c = 0; c < sheet.columns.size(); ++c) {
            const CellKind kind = sheet.columns[c].kind;
            const CellValue cell = cellValue(row.value(c), kind);
            fields.append(cell.type == CellValue::Type::Text ? textField(cell.text) : cell.written(kind));
        }
        appendLine(out, fields);
        if (out.size() >= kChunkBytes) flush(file, out);
    }
    flush(file, out);
    if (!file.commit()) refuseWriting(path);
}

} // namespace sorrel::exporting
