#include "common/export/xlsx_file.h"

#include "common/db/errors.h"
#include "common/export/cell_value.h"
#include "common/export/export_file.h"

#include <QFileInfo>
#include <QSet>
#include <memory>
#include <xlsxwriter.h>

namespace sorrel::exporting {

namespace {

// Excel's longest text in a cell, and the widest column worth showing (in digits).
constexpr int kLongestText = 32767;
constexpr double kWidestColumn = 60;

struct WorkbookFree {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};

struct Formats {
    lxw_format* caption;
    lxw_format* integer;
    lxw_format* money;
    lxw_format* quantity;
    lxw_format* percent;
    lxw_format* date;
    lxw_format* dateTime;

    explicit Formats(lxw_workbook* workbook)
        : caption(workbook_add_format(workbook)), integer(workbook_add_format(workbook)),
          money(workbook_add_format(workbook)), quantity(workbook_add_format(workbook)),
          percent(workbook_add_format(workbook)), date(workbook_add_format(workbook)),
          dateTime(workbook_add_format(workbook)) {
        format_set_bold(caption);
        format_set_num_format(integer, "0");
        format_set_num_format(money, "0.00");
        // As the figure stands: 2, 1.5 (a "0.##" would show "2.").
        format_set_num_format(quantity, "General");
        format_set_num_format(percent, "0.00%");
        format_set_num_format(date, "yyyy-mm-dd");
        format_set_num_format(dateTime, "yyyy-mm-dd hh:mm:ss");
    }

    lxw_format* forNumber(CellKind kind) const {
        switch (kind) {
        case CellKind::Integer:
            return integer;
        case CellKind::Quantity:
            return quantity;
        case CellKind::Percent:
            return percent;
        default:
            return money;
        }
    }
};

// A worksheet's name as Excel allows it: at most 31 characters, none of []:*?/\, not empty and
// not taken by an earlier sheet of the workbook.
QString worksheetName(const QString& wanted, int index, QSet<QString>& taken) {
    QString name = wanted;
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        name.replace(c, u'_');
    name = name.trimmed();
    while (name.startsWith(u'\''))
        name.remove(0, 1);
    while (name.endsWith(u'\''))
        name.chop(1);
    if (name.isEmpty()) name = QStringLiteral("Sheet%1").arg(index + 1);
    name = name.left(31);
    const QString base = name;
    for (int n = 2; taken.contains(name.toLower()); ++n) {
        const QString suffix = QStringLiteral("(%1)").arg(n);
        name = base.left(31 - suffix.size()) + suffix;
    }
    taken.insert(name.toLower());
    return name;
}

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        throw DbError(QStringLiteral("xlsx: %1").arg(QString::fromUtf8(lxw_strerror(error))));
}

void writeText(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QString& text,
               lxw_format* format) {
    check(worksheet_write_string(sheet, row, column, text.left(kLongestText).toUtf8().constData(), format));
}

void writeSheet(lxw_workbook* workbook, const Formats& formats, const Sheet& source, const QString& name,
                const QString& path) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, name.toUtf8().constData());
    if (!sheet) refuseWriting(path);
    QVector<int> widths;
    for (int c = 0; c < source.columns.size(); ++c) {
        writeText(sheet, 0, lxw_col_t(c), source.columns[c].caption, formats.caption);
        widths.append(displayWidth(source.columns[c].caption));
    }
    worksheet_freeze_panes(sheet, 1, 0);
    QVector<QVariant> values;
    lxw_row_t row = 0;
    while (source.next(values)) {
        if (row == lxw_row_t(kMostWorksheetRows))
            throw StepRefused(
                QStringLiteral("导出失败：[%1]超过%2行，Excel的一个工作表放不下，请缩小统计范围后再导出！")
                    .arg(source.name)
                    .arg(kMostWorksheetRows));
        ++row;
        for (int c = 0; c < source.columns.size(); ++c) {
            const CellKind kind = source.columns[c].kind;
            const CellValue cell = cellValue(values.value(c), kind);
            const lxw_col_t column = lxw_col_t(c);
            switch (cell.type) {
            case CellValue::Type::Empty:
                continue;
            case CellValue::Type::Number:
                // A percentage is a fraction to Excel, shown as 35.20%.
                check(worksheet_write_number(sheet, row, column,
                                             kind == CellKind::Percent ? cell.number / 100 : cell.number,
                                             formats.forNumber(kind)));
                break;
            case CellValue::Type::Date:
            case CellValue::Type::DateTime: {
                const QDate day = cell.moment.date();
                const QTime time = cell.moment.time();
                lxw_datetime moment{day.year(),  day.month(),   day.day(),
                                    time.hour(), time.minute(), double(time.second())};
                check(worksheet_write_datetime(sheet, row, column, &moment,
                                               cell.type == CellValue::Type::Date ? formats.date
                                                                                  : formats.dateTime));
                break;
            }
            case CellValue::Type::Text:
                writeText(sheet, row, column, cell.text, nullptr);
                break;
            }
            widths[c] = std::max(widths[c], displayWidth(cell.written(kind)));
        }
    }
    // Set once every row is out: the widths are written with the sheet when the workbook closes.
    for (int c = 0; c < widths.size(); ++c)
        check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c),
                                   std::min(kWidestColumn, widths[c] + 2.0), nullptr));
}

} // namespace

void writeXlsxFile(const QString& path, const QVector<Sheet>& sheets) {
    writeInPlace(path, [&](const QString& partialPath) {
        const QByteArray partialName = QFile::encodeName(partialPath);
        QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
        lxw_workbook_options options{};
        // Each worksheet's rows go to a temporary file as they are written, not into memory; on
        // the target's disk, so a disk without room is the one the refusal names.
        options.constant_memory = LXW_TRUE;
        options.tmpdir = folder.data();
        std::unique_ptr<lxw_workbook, WorkbookFree> workbook(
            workbook_new_opt(partialName.constData(), &options));
        if (!workbook) return false;
        const Formats formats(workbook.get());
        QSet<QString> taken;
        for (int i = 0; i < sheets.size(); ++i)
            writeSheet(workbook.get(), formats, sheets[i], worksheetName(sheets[i].name, i, taken), path);
        // Closing writes the file and frees the workbook, whatever its answer.
        return workbook_close(workbook.release()) == LXW_NO_ERROR;
    });
}

} // namespace sorrel::exporting
