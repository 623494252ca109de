#include "common/document/document_stream.h"

#include "common/db/errors.h"

#include <QDataStream>
#include <QDir>
#include <QTemporaryFile>

namespace sorrel::document {

namespace {

// The bands as they lie in the spool. Written and read by this file only, within one run.
void write(QDataStream& out, const TextStyle& style) {
    out << qint8(style.align ? int(*style.align) : -1) << qint8(style.size) << style.bold << style.underline;
}

void read(QDataStream& in, TextStyle& style) {
    qint8 align = 0;
    qint8 size = 0;
    in >> align >> size >> style.bold >> style.underline;
    style.align = align < 0 ? std::nullopt : std::optional<Align>(Align(align));
    style.size = TextSize(size);
}

void write(QDataStream& out, const Column& c) {
    out << c.title << c.share << qint32(c.minChars) << qint8(c.align) << qint8(c.format) << c.summed;
}

void read(QDataStream& in, Column& c) {
    qint32 minChars = 0;
    qint8 align = 0;
    qint8 format = 0;
    in >> c.title >> c.share >> minChars >> align >> format >> c.summed;
    c.minChars = minChars;
    c.align = Align(align);
    c.format = NumberFormat(format);
}

void write(QDataStream& out, const Cell& cell) {
    out << cell.text << cell.value.has_value() << cell.value.value_or(0) << qint32(cell.span);
    write(out, cell.style);
}

void read(QDataStream& in, Cell& cell) {
    bool hasValue = false;
    double value = 0;
    qint32 span = 1;
    in >> cell.text >> hasValue >> value >> span;
    cell.value = hasValue ? std::optional<double>(value) : std::nullopt;
    cell.span = span;
    read(in, cell.style);
}

void write(QDataStream& out, const Chart& chart) {
    out << chart.title << chart.categories << qint32(chart.series.size());
    for (const ChartSeries& s : chart.series)
        out << s.name << s.values;
    out << chart.valueCaption << chart.horizontal << chart.heightMm;
}

void read(QDataStream& in, Chart& chart) {
    qint32 series = 0;
    in >> chart.title >> chart.categories >> series;
    chart.series.resize(qMax(0, series));
    for (ChartSeries& s : chart.series)
        in >> s.name >> s.values;
    in >> chart.valueCaption >> chart.horizontal >> chart.heightMm;
}

void write(QDataStream& out, const Band& band) {
    out << qint8(band.kind) << qint8(band.ruleAbove) << qint8(band.ruleBelow) << band.stacksWhenNarrow;
    out << qint32(band.columns.size());
    for (const Column& c : band.columns)
        write(out, c);
    out << qint32(band.rows.size());
    for (const Row& row : band.rows) {
        out << qint32(row.cells.size());
        for (const Cell& cell : row.cells)
            write(out, cell);
    }
    out << band.chart.has_value();
    if (band.chart) write(out, *band.chart);
}

void read(QDataStream& in, Band& band) {
    qint8 kind = 0;
    qint8 above = 0;
    qint8 below = 0;
    qint32 count = 0;
    in >> kind >> above >> below >> band.stacksWhenNarrow >> count;
    band.kind = BandKind(kind);
    band.ruleAbove = Rule(above);
    band.ruleBelow = Rule(below);
    band.columns.resize(qMax(0, count));
    for (Column& c : band.columns)
        read(in, c);
    in >> count;
    band.rows.resize(qMax(0, count));
    for (Row& row : band.rows) {
        qint32 cells = 0;
        in >> cells;
        row.cells.resize(qMax(0, cells));
        for (Cell& cell : row.cells)
            read(in, cell);
    }
    bool charted = false;
    in >> charted;
    band.chart.reset();
    if (charted) {
        Chart chart;
        read(in, chart);
        band.chart = chart;
    }
}

StepRefused spoolRefused() {
    return StepRefused(QStringLiteral("临时文件夹[%1]无法写入，报表没有输出！").arg(QDir::toNativeSeparators(QDir::tempPath())));
}

} // namespace

struct DocumentStream::Spool {
    QTemporaryFile file{QDir::temp().filePath(QStringLiteral("sorrel-document-XXXXXX"))};
    qint64 bands = 0;
};

DocumentStream::DocumentStream(Document document)
    : name_(document.name), columns_(document.columns),
      whole_(std::make_shared<const Document>(std::move(document))) {}

DocumentStream DocumentStream::spooled(const QString& name, const QVector<Column>& columns,
                                       const std::function<void(const BandSink& sink)>& produce) {
    DocumentStream stream;
    stream.name_ = name;
    stream.columns_ = columns;
    auto spool = std::make_shared<Spool>();
    if (!spool->file.open()) throw spoolRefused();
    QDataStream out(&spool->file);
    out.setVersion(QDataStream::Qt_6_0);
    produce([&](Band&& band) {
        write(out, band);
        ++spool->bands;
    });
    if (out.status() != QDataStream::Ok || !spool->file.flush()) throw spoolRefused();
    stream.spool_ = spool;
    return stream;
}

qint64 DocumentStream::bandCount() const {
    return whole_ ? whole_->bands.size() : spool_ ? spool_->bands : 0;
}

DocumentStream DocumentStream::watched(std::function<void(qint64 bandsRead)> passed) const {
    DocumentStream stream = *this;
    stream.passed_ = std::move(passed);
    return stream;
}

void DocumentStream::forEachBand(const std::function<void(const Band& band)>& visit) const {
    if (passed_) {
        qint64 read = 0;
        DocumentStream unwatched = *this;
        unwatched.passed_ = nullptr;
        unwatched.forEachBand([&](const Band& band) {
            visit(band);
            passed_(++read);
        });
        return;
    }
    if (whole_) {
        for (const Band& band : whole_->bands)
            visit(band);
        return;
    }
    if (!spool_) return;
    QFile in(spool_->file.fileName());
    if (!in.open(QIODevice::ReadOnly)) throw spoolRefused();
    QDataStream stream(&in);
    stream.setVersion(QDataStream::Qt_6_0);
    for (qint64 i = 0; i < spool_->bands; ++i) {
        Band band;
        read(stream, band);
        if (stream.status() != QDataStream::Ok) throw spoolRefused();
        visit(band);
    }
}

Document DocumentStream::whole() const {
    if (whole_) return *whole_;
    Document document;
    document.name = name_;
    document.columns = columns_;
    forEachBand([&](const Band& band) { document.bands.append(band); });
    return document;
}

} // namespace sorrel::document
