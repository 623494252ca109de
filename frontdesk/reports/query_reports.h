// The query reports of the front desk: the settled bills of a range of business dates (all of
// them, those of one department or shift, of a member card, put on credit) and their order lines,
// read from the history only, page by page; and the one printed layout of the three bill lists.
#pragma once

#include "frontdesk/reports/report_frame.h"

#include <optional>

namespace sorrel::reports {

// Which bill list the operator is in. It picks the printed layout's variant and the list the
// bill detail's "回退" goes back to; the numbers are the ones the screens have always used.
enum class BillListKind { Members = 0, Bills = 1, Credit = 2 };

// The bill query's second filter.
enum class BillFilterBy { Department, Shift };
// "部门" / "班次", as the choice and the printed caption name them.
QString billFilterCaption(BillFilterBy by);

// The bills one list shows: which list, the dates, the other conditions with their values, and the
// caption at the right of the printed period ("综合统计", "班次:早班", "会员:0001", …).
struct BillSelection {
    BillListKind kind = BillListKind::Bills;
    DateRange range;
    Where filters; // the conditions besides the dates
    QString caption;

    // The filters and the dates `within` (the whole range unless a part of it is read).
    Where where(const std::optional<DateRange>& within = std::nullopt) const;
};

// "帐单查询报表": every bill of the range, or those of one department or one shift (`value`
// with an empty code: no second filter).
BillSelection billsOf(const DateRange& range, BillFilterBy by, const Choice& value);
// "会员查询报表": the bills part paid by member card; with a card number only that card's.
BillSelection memberBillsOf(const DateRange& range, const QString& cardNumber);
// "挂帐查询报表": the bills put on credit; with a guest chosen (by code) only that guest's.
BillSelection creditBillsOf(const DateRange& range, const Choice& guest);

// The credit guests who have credit bills in the range, for "查询挂帐人员：" (by code, so two
// guests whose names the bill cut to the same twelve characters stay apart).
QList<Choice> creditGuestsIn(Database& db, const DateRange& range);

// The grid columns of the bill lists and of the line query.
const QList<ReportColumn>& billListColumns();
const QList<ReportColumn>& orderLineColumns();

// The grid of a bill list: the shown columns only, in date and bill order.
ReportList billList(const BillSelection& selection);
// The same list as a file's sheet, every bill of the range, read a week at a time.
exporting::Sheet billListSheet(Database& db, const BillSelection& selection, const QString& name);

// "点单查询报表": the order lines of the range, or of one bill. The bill number is typed: blank
// lists every bill's lines, anything but digits is refused as a mistyped number (InvalidInput).
ReportList orderLineList(const DateRange& range, const QString& typedBillNumber);
// The same lines as a file's sheet, read a week at a time.
exporting::Sheet orderLineSheet(Database& db, const DateRange& range, const QString& typedBillNumber,
                                const QString& name);
// The typed bill number of the line query: none when blank; throws InvalidInput unless digits.
std::optional<qint64> typedBillNumber(const QString& text);

// The title of a bill list's printed layout: "帐单查询报表", "会员查询报表", "挂帐客人查询报表".
QString billListTitle(BillListKind kind);

// The printed layout of a bill list in `frame` (its title billListTitle(), its caption the
// selection's), read again from the database: one line per bill, "合计" with the number of bills
// and the sums. On the credit list the due column carries the credit amount ("挂帐额") and the
// manual number column the credit guest ("挂帐人").
document::DocumentStream billListDocument(Database& db, const BillSelection& selection, const ReportFrame& frame);

// The line query's grid in `frame`, for its PDF file (it has no printed layout of its own).
document::DocumentStream orderLineDocument(Database& db, const DateRange& range, const QString& typedBillNumber,
                                     const ReportFrame& frame);

} // namespace sorrel::reports
