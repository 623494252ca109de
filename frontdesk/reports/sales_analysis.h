// "销售分析报表": a range's receipts per payment method, its consumption per kind, the bills'
// figures ("营业分析", "总营业额"), the printed report of two parts and the chart of receipts per
// business day (per month over a longer range) stacked by kind.
#pragma once

#include "frontdesk/reports/report_frame.h"

#include <optional>

namespace sorrel::reports {

// The second filter of the sales and bill screens: a department or a shift, by code.
struct DepartmentOrShift {
    enum class By { Department, Shift };
    By by = By::Department;
    QString code; // empty: no filter
    QString name; // what the caption shows, and a line's own shift (lines keep only its name)
    QString caption() const;
};

// The bills' figures; each blank (unset) where there is nothing to show (no bill, no guest, a
// filter in effect for the other income).
struct SalesFigures {
    qlonglong bills = 0;
    std::optional<double> guests, dish, special, minimum, room, service, discount;
    std::optional<double> due, tax, received, commission, cost, otherIncome, perGuest, margin;
};

struct SalesAnalysis {
    // pay_type_code, pay_type_name, paycount, paytotal: one row per method, newest code first.
    RecordSet payments;
    // kind_name, constotal, costtotal: one row per kind.
    RecordSet kinds;
    SalesFigures figures;
};

SalesAnalysis salesAnalysis(Database& db, const DateRange& range, const DepartmentOrShift& filter,
                            const QString& sumRounding);

QList<ReportColumn> salesPaymentColumns();
QList<ReportColumn> salesKindColumns();

// The figures as the screen and the paper write them ("12.50", "35.2%", blank).
QString figureText(const std::optional<double>& value);

document::Document salesReport(const SalesAnalysis& analysis, const ReportFrame& frame);

// Receipts (the lines' amounts) per business day stacked by kind; per month beyond 62 days.
document::Chart salesChart(Database& db, const DateRange& range, const DepartmentOrShift& filter);

} // namespace sorrel::reports
