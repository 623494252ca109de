#include "common/document/document_builder.h"

#include "common/document/number_format.h"

namespace sorrel::document {

namespace {

// A grid of one column across the page, for titles and lines.
QVector<Column> acrossThePage(Align align) {
    Column c = Column::text(QString(), 1, 0);
    c.align = align;
    return {c};
}

// How many detail rows a builder with a sink holds before it hands them over.
constexpr qsizetype kRowsHandedOverAtOnce = 256;

} // namespace

DocumentBuilder::DocumentBuilder(const QString& name, const QVector<Column>& columns)
    : m_totals(columns.size(), 0.0) {
    m_document.name = name;
    m_document.columns = columns;
}

DocumentBuilder::DocumentBuilder(const QString& name, const QVector<Column>& columns, BandSink sink)
    : DocumentBuilder(name, columns) {
    m_sink = std::move(sink);
}

void DocumentBuilder::finish() {
    if (!m_sink) return;
    for (Band& band : m_document.bands)
        m_sink(std::move(band));
    m_document.bands.clear();
}

Band& DocumentBuilder::addBand(BandKind kind, const QVector<Column>& columns) {
    // With a sink the band before is done: it goes, and only the new one is held.
    finish();
    Band band;
    band.kind = kind;
    band.columns = columns;
    m_document.bands.append(band);
    return m_document.bands.last();
}

BandKind DocumentBuilder::beforeOrAfterDetails() const {
    return m_detailsBegun ? BandKind::Summary : BandKind::Header;
}

DocumentBuilder& DocumentBuilder::title(const QString& text) {
    Cell cell(text);
    cell.style.size = TextSize::Title;
    cell.style.bold = true;
    addBand(BandKind::Title, acrossThePage(Align::Center)).rows.append(Row{{cell}});
    return *this;
}

DocumentBuilder& DocumentBuilder::line(const QString& text, const TextStyle& style) {
    addBand(beforeOrAfterDetails(), acrossThePage(Align::Left)).rows.append(Row{{Cell(text).styled(style)}});
    return *this;
}

DocumentBuilder& DocumentBuilder::fields(const QStringList& texts) {
    QVector<Column> grid(texts.size(), Column::text(QString(), 1, 0));
    Row row;
    for (const QString& text : texts)
        row.cells.append(Cell(text));
    Band& band = addBand(beforeOrAfterDetails(), grid);
    band.rows.append(row);
    band.stacksWhenNarrow = true;
    return *this;
}

DocumentBuilder& DocumentBuilder::columnHeader() {
    m_detailsBegun = true;
    Row row;
    for (const Column& column : m_document.columns) {
        Cell cell(column.title);
        cell.style.bold = true;
        row.cells.append(cell);
    }
    Band& band = addBand(BandKind::ColumnHeader, m_document.columns);
    band.rows.append(row);
    band.ruleBelow = Rule::Thin;
    return *this;
}

DocumentBuilder& DocumentBuilder::beginGroup(const QString& caption) {
    m_detailsBegun = true;
    m_groupSums.append(QVector<double>(m_document.columns.size(), 0.0));
    if (!caption.isEmpty()) {
        Cell cell(caption);
        cell.span = int(m_document.columns.size());
        cell.style.bold = true;
        addBand(BandKind::GroupHeader, m_document.columns).rows.append(Row{{cell}});
    }
    return *this;
}

Row DocumentBuilder::fitted(const QVector<Cell>& cells) const {
    const int width = int(m_document.columns.size());
    Row row;
    int column = 0;
    for (Cell cell : cells) {
        if (column >= width) break;
        cell.span = qBound(1, cell.span, width - column);
        if (cell.value && cell.text.isEmpty())
            cell.text = formatNumber(*cell.value, m_document.columns[column].format);
        row.cells.append(cell);
        column += cell.span;
    }
    for (; column < width; ++column)
        row.cells.append(Cell());
    return row;
}

DocumentBuilder& DocumentBuilder::row(const QVector<Cell>& cells) {
    m_detailsBegun = true;
    const Row row = fitted(cells);
    int column = 0;
    for (const Cell& cell : row.cells) {
        if (cell.value && m_document.columns[column].summed) {
            m_totals[column] += *cell.value;
            for (QVector<double>& group : m_groupSums)
                group[column] += *cell.value;
        }
        column += cell.span;
    }
    if (m_document.bands.isEmpty() || m_document.bands.last().kind != BandKind::Detail ||
        (m_sink && m_document.bands.last().rows.size() >= kRowsHandedOverAtOnce))
        addBand(BandKind::Detail, m_document.columns);
    m_document.bands.last().rows.append(row);
    return *this;
}

Row DocumentBuilder::sumRow(const QStringList& labels, const QVector<double>& sums) const {
    const QVector<Column>& columns = m_document.columns;
    int firstSummed = 0;
    while (firstSummed < columns.size() && !columns[firstSummed].summed)
        ++firstSummed;
    QVector<Cell> cells;
    for (int i = 0; i < labels.size() && i < firstSummed; ++i)
        cells.append(Cell(labels[i]));
    // The last label takes the columns left before the sums.
    if (!cells.isEmpty())
        cells.last().span = firstSummed - int(cells.size()) + 1;
    else if (firstSummed > 0)
        cells.append(Cell().spanning(firstSummed));
    for (int column = firstSummed; column < columns.size(); ++column)
        cells.append(columns[column].summed ? Cell(sums[column]) : Cell());
    Row row = fitted(cells);
    for (Cell& cell : row.cells)
        cell.style.bold = true;
    return row;
}

DocumentBuilder& DocumentBuilder::endGroup(const QStringList& labels) {
    Q_ASSERT(!m_groupSums.isEmpty());
    if (m_groupSums.isEmpty()) return *this;
    const QVector<double> sums = m_groupSums.takeLast();
    Band& band = addBand(BandKind::GroupFooter, m_document.columns);
    band.rows.append(sumRow(labels, sums));
    band.ruleAbove = Rule::Dashed;
    return *this;
}

DocumentBuilder& DocumentBuilder::totals(const QStringList& labels) {
    m_detailsBegun = true;
    Band& band = addBand(BandKind::Summary, m_document.columns);
    band.rows.append(sumRow(labels, m_totals));
    band.ruleAbove = Rule::Thin;
    return *this;
}

DocumentBuilder& DocumentBuilder::sums(BandKind kind, const QStringList& labels,
                                       const QVector<double>& figures, Rule ruleAbove) {
    m_detailsBegun = true;
    QVector<double> padded = figures;
    padded.resize(m_document.columns.size(), 0.0);
    Band& band = addBand(kind, m_document.columns);
    band.rows.append(sumRow(labels, padded));
    band.ruleAbove = ruleAbove;
    return *this;
}

DocumentBuilder& DocumentBuilder::rule(Rule rule) {
    if (!m_document.bands.isEmpty()) m_document.bands.last().ruleBelow = rule;
    return *this;
}

} // namespace sorrel::document
