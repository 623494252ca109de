// "点单分析报表" and the item mode of "操作分析报表": per item of a range its ordered, returned,
// given and gift-returned quantities, the net quantity, the gifts' value, amount, sales amount,
// cost and margin; the printed report by kind and class; the chart of the top items.
#pragma once

#include "frontdesk/reports/report_frame.h"

namespace sorrel::reports {

enum class ItemSort { Code, Quantity, Amount, SalesAmount }; // 编号 总数 总金额 销售额

// The item report's second filter: a kind (by code), a department (its bills'), an output point
// or a shift (the names the lines keep).
struct ItemFilter {
    enum class By { Kind, Department, OutputPoint, Shift };
    By by = By::Kind;
    QString code; // empty: no filter
    QString name;
    QString caption() const;
};

// The items of the range: item_code, item_name, item_unit, kind_name, clas_name, bill1..bill4,
// bill, bill3total, constotal, facttotal, costtotal, perctotal. `operatorCode` (non-empty) keeps
// the lines that operator ordered. Printed lists sort by kind and class.
RecordSet itemAnalysis(Database& db, const DateRange& range, const ItemFilter& filter, ItemSort sort,
                       const QString& operatorCode = {});

// The screen's columns; the operator's item mode adds "单位".
QList<ReportColumn> itemColumns(bool withUnit);

// "点单分析报表": grouped by class under its kind, "小计" per class and "合计".
document::Document itemReport(Database& db, const DateRange& range, const ItemFilter& filter,
                              const ReportFrame& frame);
// "员工点单（操作）分析报表": the operator's items and "合计".
document::Document operatorItemReport(const RecordSet& items, const ReportFrame& frame);

// The top 15 items by sales amount.
document::Chart itemChart(const RecordSet& items);

} // namespace sorrel::reports
