// The bill lists of the analysis reports: "房台分析报表" (every bill of a range, or of one
// table, by department) and the bill modes of "操作分析报表" (the bills an operator settled,
// or the bookings an operator took), with their printed reports.
#pragma once

#include "frontdesk/reports/report_frame.h"

namespace sorrel::reports {

// "房台分析报表": the bills of the range, of table `tableCode` when given (trimmed), by department.
ReportList tableAnalysis(const DateRange& range, const QString& tableCode);

// The bill modes of "操作分析报表": bills settled by `operatorCode`, or, for bookings, the bills
// that came from a booking taken by `operatorCode`; every one when the code is empty.
enum class OperatorBills { Settled, Booked };
ReportList operatorBills(const DateRange& range, OperatorBills which, const QString& operatorCode);

// "房台分析报表" on paper: grouped by department ("部门："), "小计" and "合计".
document::DocumentStream tableReport(Database& db, const ReportList& list, const ReportFrame& frame);
// "员工结帐(操作)分析报表" / "员工预订(操作)分析报表": the bills and "合计".
document::DocumentStream operatorBillReport(Database& db, const ReportList& list, const ReportFrame& frame);

} // namespace sorrel::reports
