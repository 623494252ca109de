// One settled bill in detail, as the bill, member and credit lists open it: its basic data, its
// payments and its order lines, read once; the pages of the detail only show them.
#pragma once

#include "frontdesk/reports/report_frame.h"

#include <optional>

namespace sorrel::reports {

// A caption of the detail ("营业日期：") and the bill's field it shows.
struct DetailField {
    QString label;
    QString field;
    exporting::CellKind kind = exporting::CellKind::Text;
};

// "基本信息": the bill's date, numbers, table, guests and amounts before settling.
const QList<DetailField>& basicInfoFields();
// "结帐信息": what was due and received, when, by whom, the card, the credit and the commission.
const QList<DetailField>& settlementFields();
// The payments grid: "付款名称", "付款金额".
const QList<ReportColumn>& paymentColumns();
// "点单明细": the columns of the line query with the table code last.
const QList<ReportColumn>& detailLineColumns();

struct BillDetail {
    qint64 billNumber = 0;
    RecordSet bill;     // one row: every field of basicInfoFields() and settlementFields()
    RecordSet payments; // the bill's payment rows, in method order
    RecordSet lines;    // the bill's order lines, in the order they were taken

    // A field of the bill as the detail shows it.
    QString text(const DetailField& field) const;
};

// The bill in the history; none when it is not there (a list read before a data clearing).
std::optional<BillDetail> billDetail(Database& db, qint64 billNumber);

} // namespace sorrel::reports
