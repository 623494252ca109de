// "业绩分析报表": what the commission staff earned over a range, in four modes: their lines
// ("点单分析") and the sums per staff ("点单统计"), their bills ("帐单分析") and the sums per staff,
// group, area and standard ("帐单统计"); each with its printed report.
#pragma once

#include "frontdesk/reports/report_frame.h"

namespace sorrel::reports {

enum class PerformanceMode { Lines, LineSums, Bills, BillSums };

// Only lines with a commission staff and bills with a positive commission enter; `staffCode`
// (non-empty) keeps that commission staff's. Quantities count a return against the sale.
ReportList performanceAnalysis(Database& db, const DateRange& range, PerformanceMode mode,
                               const QString& staffCode);

QString performanceHeading(PerformanceMode mode);

document::DocumentStream performanceReport(Database& db, PerformanceMode mode, const ReportList& list,
                                     const ReportFrame& frame);

} // namespace sorrel::reports
