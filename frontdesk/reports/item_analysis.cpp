#include "frontdesk/reports/item_analysis.h"

#include "frontdesk/reports/line_sums.h"

#include <algorithm>

namespace sorrel::reports {

using exporting::CellKind;

namespace {

constexpr int kTopItems = 15;

QString orderOf(ItemSort sort) {
    switch (sort) {
    case ItemSort::Quantity:
        return QStringLiteral(" ORDER BY bill DESC, item_code");
    case ItemSort::Amount:
        return QStringLiteral(" ORDER BY constotal DESC, item_code");
    case ItemSort::SalesAmount:
        return QStringLiteral(" ORDER BY facttotal DESC, item_code");
    case ItemSort::Code:
        break;
    }
    return QStringLiteral(" ORDER BY item_code, item_name");
}

QList<PrintColumn> printedItemColumns() {
    return {{QStringLiteral("编码"), QStringLiteral("item_code")},
            {QStringLiteral("项目名称"), QStringLiteral("item_name"), CellKind::Text, Total::None, 2},
            {QStringLiteral("单位"), QStringLiteral("item_unit")},
            {QStringLiteral("点单"), QStringLiteral("bill1"), CellKind::Quantity, Total::Sum},
            {QStringLiteral("退单"), QStringLiteral("bill2"), CellKind::Quantity, Total::Sum},
            {QStringLiteral("赠单"), QStringLiteral("bill3"), CellKind::Quantity, Total::Sum},
            {QStringLiteral("退赠"), QStringLiteral("bill4"), CellKind::Quantity, Total::Sum},
            {QStringLiteral("总数"), QStringLiteral("bill"), CellKind::Quantity, Total::Sum},
            {QStringLiteral("赠单额"), QStringLiteral("bill3total"), CellKind::Money, Total::Sum},
            {QStringLiteral("销售额"), QStringLiteral("facttotal"), CellKind::Money, Total::Sum},
            {QStringLiteral("成本"), QStringLiteral("costtotal"), CellKind::Money, Total::Sum},
            {QStringLiteral("毛利率"), QStringLiteral("perctotal"), CellKind::Percent, Total::Average}};
}

} // namespace

QString ItemFilter::caption() const {
    static const char* captions[] = {"大类", "部门", "出品", "班次"};
    return filterCaption(QStringLiteral("分类综合统计"), QString::fromUtf8(captions[int(by)]),
                         code.isEmpty() ? QString() : name);
}

RecordSet itemAnalysis(Database& db, const DateRange& range, const ItemFilter& filter, ItemSort sort,
                       const QString& operatorCode) {
    LineSelection selection;
    selection.of(SummarySet::Operator, operatorCode);
    if (!filter.code.isEmpty()) {
        switch (filter.by) {
        case ItemFilter::By::Kind:
            selection.kindCode = filter.code;
            break;
        case ItemFilter::By::Department:
            selection.of(SummarySet::Department, filter.code);
            break;
        case ItemFilter::By::OutputPoint:
            selection.outputPoint = filter.name;
            break;
        case ItemFilter::By::Shift:
            selection.of(SummarySet::Shift, filter.name);
            break;
        }
    }
    const Condition lines = lineSums(db, range, selection);
    const QString sql =
        QStringLiteral(
            "SELECT item_code, item_name, item_unit, kind_name, clas_name, bill1, bill2, bill3, bill4, "
            "bill1 + bill3 - bill2 - bill4 AS bill, bill3total, constotal, facttotal, costtotal, "
            "CASE WHEN facttotal = 0 THEN 0 ELSE (facttotal - costtotal) / facttotal * 100 END AS perctotal "
            "FROM (SELECT item_code, item_name, item_unit, kind_name, clas_name, "
            "sum(bill1) AS bill1, sum(bill2) AS bill2, sum(bill3) AS bill3, sum(bill4) AS bill4, "
            "sum(bill3total) AS bill3total, sum(constotal) AS constotal, sum(facttotal) AS facttotal, "
            "sum(costtotal) AS costtotal FROM %1 GROUP BY item_code, item_name, item_unit, kind_name, "
            "clas_name) items")
            .arg(lines.sql);
    return db.query(sql + orderOf(sort), lines.params);
}

QList<ReportColumn> itemColumns(bool withUnit) {
    QList<ReportColumn> out{{QStringLiteral("编码"), QStringLiteral("item_code")},
                            {QStringLiteral("项目名称"), QStringLiteral("item_name")},
                            {QStringLiteral("点单"), QStringLiteral("bill1"), CellKind::Quantity},
                            {QStringLiteral("退单"), QStringLiteral("bill2"), CellKind::Quantity},
                            {QStringLiteral("赠单"), QStringLiteral("bill3"), CellKind::Quantity},
                            {QStringLiteral("退赠"), QStringLiteral("bill4"), CellKind::Quantity},
                            {QStringLiteral("合计"), QStringLiteral("bill"), CellKind::Quantity},
                            {QStringLiteral("赠单总额"), QStringLiteral("bill3total"), CellKind::Money},
                            {QStringLiteral("总金额"), QStringLiteral("constotal"), CellKind::Money},
                            {QStringLiteral("销售额"), QStringLiteral("facttotal"), CellKind::Money},
                            {QStringLiteral("成本"), QStringLiteral("costtotal"), CellKind::Money},
                            {QStringLiteral("毛利率"), QStringLiteral("perctotal"), CellKind::Percent}};
    if (withUnit) out << ReportColumn{QStringLiteral("单位"), QStringLiteral("item_unit")};
    return out;
}

document::Document itemReport(Database& db, const DateRange& range, const ItemFilter& filter,
                              const ReportFrame& frame) {
    RecordSet items = itemAnalysis(db, range, filter, ItemSort::Code);
    // On paper the items stand by kind and class, whatever the screen's sort.
    QList<int> order;
    for (int i = 0; i < items.rowCount(); ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto key = [&](int r) {
            return std::make_pair(items.text(r, QStringLiteral("kind_name")),
                                  items.text(r, QStringLiteral("clas_name")));
        };
        return key(a) < key(b);
    });
    PrintedList list(printedItemColumns());
    return framedReport(frame, list.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        QString kind, klass;
        bool open = false;
        for (int r : order) {
            const QString k = items.text(r, QStringLiteral("kind_name"));
            const QString c = items.text(r, QStringLiteral("clas_name"));
            if (!open || k != kind || c != klass) {
                if (open) list.close(b, document::BandKind::GroupFooter, QStringLiteral("小计"));
                kind = k;
                klass = c;
                open = true;
                b.sums(document::BandKind::GroupHeader,
                       {QStringLiteral("大类名称：") + k + QStringLiteral("    分类名称：") + c}, {});
                list.begin();
            }
            list.row(b, items, r);
        }
        if (open) list.close(b, document::BandKind::GroupFooter, QStringLiteral("小计"));
        list.end(b, QStringLiteral("合计"));
    });
}

document::Document operatorItemReport(const RecordSet& items, const ReportFrame& frame) {
    PrintedList list(printedItemColumns());
    return framedReport(frame, list.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        for (int r = 0; r < items.rowCount(); ++r)
            list.row(b, items, r);
        list.end(b, QStringLiteral("合计"));
    });
}

document::Chart itemChart(const RecordSet& items) {
    QList<int> order;
    for (int i = 0; i < items.rowCount(); ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return items.number(a, QStringLiteral("facttotal")) > items.number(b, QStringLiteral("facttotal"));
    });
    document::Chart chart;
    chart.title = QStringLiteral("销售额前 15 项");
    chart.valueCaption = QStringLiteral("元");
    chart.horizontal = true;
    chart.heightMm = 110;
    document::ChartSeries sales{QStringLiteral("销售额"), {}};
    for (int i = 0; i < order.size() && i < kTopItems; ++i) {
        chart.categories << items.text(order[i], QStringLiteral("item_name"));
        sales.values << items.number(order[i], QStringLiteral("facttotal"));
    }
    chart.series << sales;
    return chart;
}

} // namespace sorrel::reports
