#include "frontdesk/day/handover_report.h"

#include "common/document/document_builder.h"
#include "common/document/number_format.h"

namespace sorrel::day {

using namespace document;

Document handoverReport(const HandoverSheet& sheet, const HandoverReportInfo& info) {
    const QString at = info.printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString title = QStringLiteral("员工交班报表");
    DocumentBuilder b(
        title, {Column::text(QStringLiteral("付款方式"), 2, 4), Column::money(QStringLiteral("初始金额")),
                Column::quantity(QStringLiteral("收入笔数")), Column::money(QStringLiteral("收入金额")),
                Column::money(QStringLiteral("交班金额"))});
    b.line(QStringLiteral("单位名称：【") + info.venueName + QStringLiteral("】"));
    b.title(title);
    b.fields({QStringLiteral("交班时间：") + at, QStringLiteral("交班员工：") + info.operatorName});
    b.columnHeader();
    for (const HandoverLine& line : sheet.lines)
        b.row({line.name, line.openingFloat, double(line.receipts), line.received, line.toHandOver});
    b.rule();
    const HandoverTotals sums = sheet.printedTotals();
    b.line(QStringLiteral("合计："), {.bold = true});
    b.fields({QStringLiteral("初始金额：") + formatNumber(sums.openingFloat, NumberFormat::Money),
              QStringLiteral("收入笔数：") + QString::number(sums.receipts)});
    b.fields({QStringLiteral("收入金额：") + formatNumber(sums.received, NumberFormat::Money),
              QStringLiteral("交班金额：") + formatNumber(sums.toHandOver, NumberFormat::Money)});
    b.line(QStringLiteral("备注：") + info.note);
    b.fields({QStringLiteral("制表时间：") + at, QStringLiteral("制表人：") + info.operatorName});
    b.line(QStringLiteral("岚舟管理系列 V9"), {.align = Align::Center, .size = TextSize::Small});
    return b.document();
}

} // namespace sorrel::day
