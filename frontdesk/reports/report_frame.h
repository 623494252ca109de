// What every report of the front desk shares: the range of business dates and how it reaches a
// statement, the filter conditions with their bound values, the code-and-name choices of the
// filter lists, the columns of a report's grid, and the printed frame around every report
// (title, venue, period, filter caption, who printed it and when).
#pragma once

#include "common/db/database.h"
#include "common/document/document.h"
#include "common/document/document_builder.h"
#include "common/export/sheet.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>

namespace sorrel::reports {

// Business dates from `from` to `to`, both included.
struct DateRange {
    QDate from;
    QDate to;
};

// A piece of a WHERE clause with the values its "?" take, in order.
struct Condition {
    QString sql;
    QVariantList params;
};

// `column` within the range: "column >= ? AND column < ?", from the start of the first day to the
// start of the day after the last, so a stored value carrying a time of day on the last day is
// still counted. The one way every report selects its dates.
Condition dateCondition(const QString& column, const DateRange& range);

// A set meal's component lines carry the set meal's group code; every report counts only the
// lines the guest ordered (empty group code, NULL or '').
inline const QString kOrderedLines = QStringLiteral("COALESCE(grou_code, '') = ''");

// Conditions joined by AND, their values bound in order.
class Where {
  public:
    Where& add(const QString& sql, const QVariantList& params = {});
    Where& add(const Condition& condition);
    // "column = ?" when `value` is not empty; nothing otherwise (no filter chosen).
    Where& equalsUnlessEmpty(const QString& column, const QString& value);
    // " WHERE a AND b", or nothing when there is no condition.
    QString sql() const;
    const QVariantList& params() const { return params_; }

  private:
    QStringList parts_;
    QVariantList params_;
};

// One entry of a filter list: the code the report filters on and the name it shows.
struct Choice {
    QString code;
    QString name;
    bool operator==(const Choice&) const = default;
};

// The filter lists of the reports, each read from its master list by code.
enum class ChoiceList { Departments, Shifts, Operators, CommissionStaff, CreditGuests, Kinds, OutputPoints };
QList<Choice> choices(Database& db, ChoiceList list);

// What a filter list shows for a choice: code and name, so two staff of one name stay apart.
QString choiceLabel(const Choice& choice);

// The caption at the right of a printed report's period: `whole` ("综合统计") when no value is
// chosen, else the choice's caption + ":" + the value.
QString filterCaption(const QString& whole, const QString& choice, const QString& value);

// One column of a report grid: its caption, the field of the report's rows it shows and what
// kind of figure that is (how the grid, the files and the paper write it).
using ReportColumn = exporting::FieldColumn;

// How a grid shows a value of its column: money to the cent, margins "35.2%", dates as days.
QString displayText(const QVariant& value, exporting::CellKind kind);
// The printed column of a report column (money and quantities right-aligned).
document::Column printedColumn(const ReportColumn& column, double share = 1);

// One field of a list's order, as the statement names it among its columns. `nullable`: the
// field may hold NULL (a department or group left empty), which the two engines sort at opposite
// ends; the page after such a value is read the way the engine sorts.
struct OrderKey {
    QString field;
    bool nullable = false;
};

// The rows after a row of a list in the list's order (`order` unique, `last` that row's values of
// it): "k1 >= ? AND (k1 > ? OR (k1 = ? AND k2 > ?) ...)", every value bound. The leading "k1 >= ?"
// lets the engine start its read at the row instead of at the start of the range.
Condition afterKey(Engine engine, const QList<OrderKey>& order, const QVariantList& last);

// A report's list: the statement (without its order and without paging), its values, its columns
// and its order, unique (a list whose order has ties ends with the bill number or the line id).
// Read page by page, each page after the last row of the page before, so a year's bill list is
// never held whole by the grid, the CSV file or the PDF, and the thousandth page costs what the
// first does.
struct ReportList {
    QString sql;
    QVariantList params;
    QList<ReportColumn> columns;
    QList<OrderKey> order;

    static constexpr int kPageRows = 500;
    RecordSet firstPage(Database& db) const;
    // The page after the row whose order values are `last` (keyOf the last row read); an empty
    // set past the end.
    RecordSet pageAfter(Database& db, const QVariantList& last) const;
    // The row's values of the list's order.
    QVariantList keyOf(const RecordSet& rows, int row) const;
    // Every row, page by page, until `visit` has seen them all.
    void forEachRow(Database& db, const std::function<void(const RecordSet& rows, int row)>& visit) const;
    // The list as an exported sheet, read page by page.
    exporting::Sheet sheet(Database& db, const QString& name) const;

  private:
    RecordSet read(Database& db, const Condition& after) const;
};

// The frame of every printed report.
struct ReportFrame {
    QString title;
    QString venue; // SetupPay.user_name
    DateRange range;
    QString filterCaption; // empty: none
    QString operatorName;
    QDateTime printedAt;
};

inline const QString kMakerLine = QStringLiteral("岚舟管理系列 V9");

// An A4 report in its frame: the title band, then what `body` adds (column header, rows, groups,
// totals), then "制表时间：", "制表人：" and the maker's line.
document::Document framedReport(const ReportFrame& frame, const QVector<document::Column>& columns,
                                const std::function<void(document::DocumentBuilder&)>& body);

// The same, for a list as long as a year of bills: built once, its bands spooled as they come,
// never held whole.
document::DocumentStream framedList(const ReportFrame& frame, const QVector<document::Column>& columns,
                                    const std::function<void(document::DocumentBuilder&)>& body);

// A framed report with a chart band after its body, before "制表时间：".
document::Document withChart(document::Document report, const document::Chart& chart);

// How a printed list's sums row treats a column: nothing, its sum, or the plain average of the
// rows (the margins: an average of the rows' margins, not the margin of the sums; blank over no
// rows).
enum class Total { None, Sum, Average };

struct PrintColumn {
    QString caption;
    QString field;
    exporting::CellKind kind = exporting::CellKind::Text;
    Total total = Total::None;
    double share = 1;
};

// The rows of a printed list and its sums rows: "小计" of a group, "合计" at the end. Each sums
// row holds its label, the count of its rows in the second column and the sums and averages.
class PrintedList {
  public:
    explicit PrintedList(QList<PrintColumn> columns);
    QVector<document::Column> columns() const;
    // The column captions as a bold row (for a second list under the document's own header).
    QStringList captions() const;
    // Opens a tally (a group); the whole list has one from the start.
    void begin();
    void row(document::DocumentBuilder& b, const RecordSet& rows, int row);
    // Writes the innermost tally's row and closes it (the whole list's stays open for end()).
    void close(document::DocumentBuilder& b, document::BandKind kind, const QString& label,
               bool counted = true);
    // The tally of the whole list.
    void end(document::DocumentBuilder& b, const QString& label, bool counted = true);

  private:
    struct Tally {
        QVector<double> sums;
        int rows = 0;
    };
    QStringList labels(const Tally& tally, const QString& label, bool counted) const;

    QList<PrintColumn> columns_;
    QList<Tally> tallies_;
};

} // namespace sorrel::reports
