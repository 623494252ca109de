#include "frontdesk/reports/report_frame.h"

#include "common/db_datetime.h"
#include "common/document/number_format.h"

#include <memory>

namespace sorrel::reports {

using exporting::CellKind;

namespace {

constexpr qsizetype kColumnsInNormalText = 10;

} // namespace

Condition dateCondition(const QString& column, const DateRange& range) {
    return {column + QStringLiteral(" >= ? AND ") + column + QStringLiteral(" < ?"),
            {toDbDate(range.from), toDbDate(range.to.addDays(1))}};
}

Where& Where::add(const QString& sql, const QVariantList& params) {
    parts_ << sql;
    params_ << params;
    return *this;
}

Where& Where::add(const Condition& condition) {
    return add(condition.sql, condition.params);
}

Where& Where::equalsUnlessEmpty(const QString& column, const QString& value) {
    if (!value.isEmpty()) add(column + QStringLiteral(" = ?"), {value});
    return *this;
}

QString Where::sql() const {
    return parts_.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts_.join(QStringLiteral(" AND "));
}

QList<Choice> choices(Database& db, ChoiceList list) {
    static const struct {
        ChoiceList list;
        const char* sql;
    } sources[] = {
        {ChoiceList::Departments, "SELECT dept_code, dept_name FROM DepartmentList ORDER BY dept_code"},
        {ChoiceList::Shifts, "SELECT orde_code, orde_name FROM OrderList ORDER BY orde_code"},
        {ChoiceList::Operators, "SELECT oper_code, oper_name FROM operatorlist ORDER BY oper_code"},
        {ChoiceList::CommissionStaff,
         "SELECT dedu_oper_code, dedu_oper_name FROM deduoperatorlist ORDER BY dedu_oper_code"},
        {ChoiceList::CreditGuests,
         "SELECT hang_gues_code, hang_gues_name FROM HangGues ORDER BY hang_gues_code"},
        {ChoiceList::Kinds, "SELECT kind_code, kind_name FROM kindlist ORDER BY kind_code"},
        {ChoiceList::OutputPoints, "SELECT manu_code, manu_name FROM ManuFacturelist ORDER BY manu_code"},
    };
    QList<Choice> out;
    for (const auto& source : sources) {
        if (source.list != list) continue;
        const RecordSet rows = db.query(QString::fromUtf8(source.sql));
        for (int i = 0; i < rows.rowCount(); ++i)
            out.append({rows.value(i, 0).toString(), rows.value(i, 1).toString()});
    }
    return out;
}

QString choiceLabel(const Choice& choice) {
    return choice.code + QLatin1Char(' ') + choice.name;
}

QString filterCaption(const QString& whole, const QString& choice, const QString& value) {
    return value.isEmpty() ? whole : choice + QLatin1Char(':') + value;
}

QString displayText(const QVariant& value, CellKind kind) {
    if (value.isNull()) return {};
    switch (kind) {
    case CellKind::Money:
        return document::formatNumber(value.toDouble(), document::NumberFormat::Money);
    case CellKind::Quantity:
        return document::formatNumber(value.toDouble(), document::NumberFormat::Quantity);
    case CellKind::Integer:
        return QString::number(value.toLongLong());
    case CellKind::Percent:
        return QString::number(value.toDouble(), 'f', 1) + QLatin1Char('%');
    case CellKind::Date:
        return value.toString().left(10);
    case CellKind::DateTime:
        return value.toString().left(19);
    case CellKind::Text:
        break;
    }
    return value.toString();
}

document::Column printedColumn(const ReportColumn& column, double share) {
    switch (column.kind) {
    case CellKind::Money:
        return document::Column::money(column.caption, share, 5);
    case CellKind::Quantity:
    case CellKind::Integer:
        return document::Column::quantity(column.caption, share, 3);
    case CellKind::Percent:
        return document::Column::centred(column.caption, share, 5);
    case CellKind::Date:
    case CellKind::DateTime:
        return document::Column::centred(column.caption, share, 8);
    case CellKind::Text:
        break;
    }
    return document::Column::text(column.caption, share, qMax(3, int(3 * share)));
}

Condition afterKey(Engine engine, const QList<OrderKey>& order, const QVariantList& last) {
    // The file sorts NULL before every value, the server after.
    const bool nullsFirst = engine == Engine::Embedded;
    // Built from the last field back: after(i) = beyond(k_i) OR (k_i equal AND after(i + 1)).
    QString sql;
    QVariantList params;
    for (qsizetype i = order.size() - 1; i >= 0; --i) {
        const QString& k = order[i].field;
        const QVariant& v = last.value(i);
        const bool null = v.isNull() && order[i].nullable;
        QString beyond;
        QVariantList beyondParams;
        if (!null) {
            beyond = k + QStringLiteral(" > ?");
            beyondParams << v;
            if (order[i].nullable && !nullsFirst)
                beyond = QLatin1Char('(') + beyond + QStringLiteral(" OR ") + k + QStringLiteral(" IS NULL)");
        } else if (nullsFirst) {
            beyond = k + QStringLiteral(" IS NOT NULL");
        } // else: NULL sorts last on the server, nothing is beyond it
        if (sql.isEmpty()) {
            sql = beyond.isEmpty() ? QStringLiteral("1 = 0") : beyond;
            params = beyondParams;
            continue;
        }
        const QString equal = null ? k + QStringLiteral(" IS NULL") : k + QStringLiteral(" = ?");
        QVariantList equalParams;
        if (!null) equalParams << v;
        QString next = QLatin1Char('(') + equal + QStringLiteral(" AND (") + sql + QStringLiteral("))");
        QVariantList nextParams = equalParams + params;
        if (!beyond.isEmpty()) {
            next = beyond + QStringLiteral(" OR ") + next;
            nextParams = beyondParams + nextParams;
        }
        sql = next;
        params = nextParams;
    }
    if (order.isEmpty() || sql.isEmpty()) return {QStringLiteral("1 = 0"), {}};
    sql = QLatin1Char('(') + sql + QLatin1Char(')');
    if (!order.first().nullable) {
        sql = order.first().field + QStringLiteral(" >= ? AND ") + sql;
        params.prepend(last.value(0));
    }
    return {sql, params};
}

RecordSet ReportList::read(Database& db, const Condition& after) const {
    // The list as a derived table, so that the order's fields are the names its rows carry (a sum
    // or an expression included) and the page's condition and order stand outside its grouping;
    // a plain list's statement is merged into the page's, its indexes used as they are.
    QStringList fields;
    for (const OrderKey& k : order)
        fields << k.field;
    QVariantList values = params;
    values << after.params << kPageRows;
    return db.query(QStringLiteral("SELECT * FROM (") + sql + QStringLiteral(") report_rows") +
                        (after.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + after.sql) +
                        QStringLiteral(" ORDER BY ") + fields.join(QStringLiteral(", ")) +
                        QStringLiteral(" LIMIT ?"),
                    values);
}

RecordSet ReportList::firstPage(Database& db) const {
    return read(db, {});
}

RecordSet ReportList::pageAfter(Database& db, const QVariantList& last) const {
    return read(db, afterKey(db.engine(), order, last));
}

QVariantList ReportList::keyOf(const RecordSet& rows, int row) const {
    QVariantList out;
    for (const OrderKey& k : order)
        out << rows.value(row, k.field);
    return out;
}

void ReportList::forEachRow(Database& db, const std::function<void(const RecordSet&, int)>& visit) const {
    RecordSet rows = firstPage(db);
    for (;;) {
        for (int i = 0; i < rows.rowCount(); ++i)
            visit(rows, i);
        if (rows.rowCount() < kPageRows) return;
        rows = pageAfter(db, keyOf(rows, rows.rowCount() - 1));
    }
}

exporting::Sheet ReportList::sheet(Database& db, const QString& name) const {
    QVector<exporting::ExportColumn> out;
    QStringList fields;
    for (const ReportColumn& c : columns) {
        out.append({c.caption, c.kind});
        fields << c.field;
    }
    const ReportList list = *this;
    // The sheet asks for its pages in turn; each is read after the last row of the one before.
    auto last = std::make_shared<QVariantList>();
    return exporting::pagedSheet(
        name, out,
        [&db, list, last](int n) {
            RecordSet rows = n == 0 ? list.firstPage(db) : list.pageAfter(db, *last);
            if (!rows.isEmpty()) *last = list.keyOf(rows, rows.rowCount() - 1);
            return rows;
        },
        fields);
}

namespace {

// The frame and the body, each band handed to `sink` as it is done.
void buildFramedReport(const ReportFrame& frame, const QVector<document::Column>& columns,
                       const std::function<void(document::DocumentBuilder&)>& body, const document::BandSink& sink) {
    using document::Align;
    // A list of many columns prints in small text, so that a bill stands on one line of A4.
    const bool small = columns.size() > kColumnsInNormalText;
    document::DocumentBuilder b(frame.title, columns, [&](document::Band&& band) {
        if (small && band.columns == columns)
            for (document::Row& row : band.rows)
                for (document::Cell& cell : row.cells)
                    cell.style.size = document::TextSize::Small;
        sink(std::move(band));
    });
    b.title(frame.title);
    b.line(QStringLiteral("单位名称：【") + frame.venue + QStringLiteral("】"));
    b.fields({QStringLiteral("统计时段：") + frame.range.from.toString(QStringLiteral("yyyy-MM-dd")) +
                  QStringLiteral(" 至 ") + frame.range.to.toString(QStringLiteral("yyyy-MM-dd")),
              frame.filterCaption});
    body(b);
    b.fields({QStringLiteral("制表时间：") + frame.printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
              QStringLiteral("制表人：") + frame.operatorName});
    b.line(kMakerLine, {.align = Align::Center, .size = document::TextSize::Small});
    b.finish();
}

} // namespace

document::Document framedReport(const ReportFrame& frame, const QVector<document::Column>& columns,
                                const std::function<void(document::DocumentBuilder&)>& body) {
    document::Document report;
    report.name = frame.title;
    report.columns = columns;
    buildFramedReport(frame, columns, body, [&](document::Band&& band) { report.bands.append(std::move(band)); });
    return report;
}

document::DocumentStream framedList(const ReportFrame& frame, const QVector<document::Column>& columns,
                                    const std::function<void(document::DocumentBuilder&)>& body) {
    return document::DocumentStream::spooled(frame.title, columns, [&](const document::BandSink& sink) {
        buildFramedReport(frame, columns, body, sink);
    });
}

document::Document withChart(document::Document report, const document::Chart& chart) {
    document::Band band;
    band.kind = document::BandKind::Chart;
    band.chart = chart;
    // The closing block of the frame: "制表时间：" with "制表人：", and the maker's line.
    report.bands.insert(qMax(qsizetype(0), report.bands.size() - 2), band);
    return report;
}

PrintedList::PrintedList(QList<PrintColumn> columns) : columns_(std::move(columns)) {
    begin();
}

QVector<document::Column> PrintedList::columns() const {
    QVector<document::Column> out;
    for (const PrintColumn& c : columns_)
        out << printedColumn({c.caption, c.field, c.kind}, c.share);
    return out;
}

QStringList PrintedList::captions() const {
    QStringList out;
    for (const PrintColumn& c : columns_)
        out << c.caption;
    return out;
}

void PrintedList::begin() {
    tallies_.append({QVector<double>(columns_.size(), 0.0), 0});
}

void PrintedList::row(document::DocumentBuilder& b, const RecordSet& rows, int row) {
    QVector<document::Cell> cells;
    for (int c = 0; c < columns_.size(); ++c) {
        const QVariant& value = rows.value(row, columns_[c].field);
        cells << document::Cell(displayText(value, columns_[c].kind));
        if (columns_[c].total != Total::None)
            for (Tally& t : tallies_)
                t.sums[c] += value.toDouble();
    }
    for (Tally& t : tallies_)
        ++t.rows;
    b.row(cells);
}

QStringList PrintedList::labels(const Tally& tally, const QString& label, bool counted) const {
    QStringList out;
    for (int c = 0; c < columns_.size(); ++c) {
        const PrintColumn& column = columns_[c];
        if (c == 0)
            out << label;
        else if (tally.rows == 0)
            out << QString(); // nothing to count: empty totals
        else if (column.total == Total::Sum)
            out << displayText(tally.sums[c],
                               column.kind == CellKind::Integer ? CellKind::Quantity : column.kind);
        else if (column.total == Total::Average)
            out << (tally.rows > 0 ? displayText(tally.sums[c] / tally.rows, column.kind) : QString());
        else if (c == 1 && counted)
            out << QString::number(tally.rows);
        else
            out << QString();
    }
    return out;
}

void PrintedList::close(document::DocumentBuilder& b, document::BandKind kind, const QString& label,
                        bool counted) {
    if (tallies_.size() < 2) return;
    b.sums(kind, labels(tallies_.takeLast(), label, counted), {}, document::Rule::Dashed);
}

void PrintedList::end(document::DocumentBuilder& b, const QString& label, bool counted) {
    b.sums(document::BandKind::Summary, labels(tallies_.first(), label, counted), {}, document::Rule::Thin);
}

} // namespace sorrel::reports
