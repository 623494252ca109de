// Builds a printed document top to bottom in a few lines: a title, header lines and fields,
// the column titles, detail rows in groups with their sums, the totals and the lines below.
//
//   DocumentBuilder b(QStringLiteral("帐单"), {Column::text(QStringLiteral("项目名称"), 3),
//                                              Column::money(QStringLiteral("金额")).summing()});
//   b.title(QStringLiteral("帐单")).fields({QStringLiteral("房台名称：A01"), ...}).columnHeader();
//   b.beginGroup(QStringLiteral("热菜")).row({QStringLiteral("宫保鸡丁"), 28.0}).endGroup({...});
//   b.totals({QStringLiteral("合计")});
#pragma once

#include "common/document/document.h"
#include "common/document/document_stream.h"

#include <QStringList>

namespace sorrel::document {

class DocumentBuilder {
  public:
    DocumentBuilder(const QString& name, const QVector<Column>& columns);
    // Hands each band to `sink` once the next one begins (a long run of details in parts of a
    // few hundred rows) instead of keeping the document; finish() hands over the last.
    DocumentBuilder(const QString& name, const QVector<Column>& columns, BandSink sink);

    // A line large, bold and centred across the top.
    DocumentBuilder& title(const QString& text);
    // A line across the page. Before the details it belongs to the header, after them to the
    // summary.
    DocumentBuilder& line(const QString& text, const TextStyle& style = {});
    // A row of equal fields across the page ("客人姓名：张三", "房台名称：A01"); where the
    // paper is too narrow for them side by side they stand one under the other.
    DocumentBuilder& fields(const QStringList& texts);
    // The column titles, printed again at the top of every further page.
    DocumentBuilder& columnHeader();
    // Opens a group of details under its caption (no caption row when empty). Groups nest.
    DocumentBuilder& beginGroup(const QString& caption);
    // One detail row, a cell per column or per span; missing cells stay empty. A figure is
    // written by its column's format and counts toward the open groups and the totals.
    DocumentBuilder& row(const QVector<Cell>& cells);
    // Closes the innermost group: the labels fill the columns before the first summed one,
    // the group's sums stand under the summed columns.
    DocumentBuilder& endGroup(const QStringList& labels);
    // The sums over every detail row, with the labels as in endGroup.
    DocumentBuilder& totals(const QStringList& labels);
    // A row of sums the caller worked out, whether or not the details behind them are printed (a
    // bill may print its kind subtotals without its lines): labels as in endGroup, a figure per
    // column, of which the summed columns show theirs. `kind` is GroupFooter or Summary.
    DocumentBuilder& sums(BandKind kind, const QStringList& labels, const QVector<double>& figures,
                          Rule ruleAbove = Rule::None);
    // A rule below what was added last.
    DocumentBuilder& rule(Rule rule = Rule::Thin);

    // The document built; with a sink, only the band not yet handed over.
    const Document& document() const { return m_document; }
    // With a sink: hands over the band still held (nothing without one).
    void finish();

  private:
    Band& addBand(BandKind kind, const QVector<Column>& columns);
    BandKind beforeOrAfterDetails() const;
    Row sumRow(const QStringList& labels, const QVector<double>& sums) const;
    Row fitted(const QVector<Cell>& cells) const;

    Document m_document;
    BandSink m_sink;
    bool m_detailsBegun = false;
    // The sums of each open group, innermost last, and of the whole document.
    QVector<QVector<double>> m_groupSums;
    QVector<double> m_totals;
};

} // namespace sorrel::document
