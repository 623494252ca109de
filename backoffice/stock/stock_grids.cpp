#include "backoffice/stock/stock_grids.h"

#include "common/document/document_builder.h"
#include "common/export/cell_value.h"

#include <algorithm>

namespace sorrel::stock {

namespace {

using exporting::CellKind;

// A list of more columns than this prints in small text, so a line stands on one line of A4.
constexpr qsizetype kColumnsInNormalText = 8;

document::Column printedColumn(const exporting::ExportColumn& column, double share) {
    switch (column.kind) {
    case CellKind::Money:
        return document::Column::money(column.caption, share, 6);
    case CellKind::Quantity:
    case CellKind::Integer:
    case CellKind::Percent:
        return document::Column::quantity(column.caption, share, 4);
    case CellKind::Date:
        return document::Column::text(column.caption, share, 10);
    case CellKind::DateTime:
        return document::Column::text(column.caption, share, 18);
    case CellKind::Text:
        break;
    }
    // A caption, a code and a short name stand on one line: a Chinese character is two digits wide.
    return document::Column::text(column.caption, share,
                                  std::max(6, exporting::displayWidth(column.caption)));
}

// The share of a caption's column: names and remarks take more of the paper than codes.
double shareOf(const exporting::ExportColumn& column) {
    if (column.caption == QLatin1String("项目名称")) return 2.5;
    if (column.caption == QLatin1String("备注") || column.kind == CellKind::DateTime) return 2;
    return 1;
}

} // namespace

QVector<GridField> postedBillFields() {
    return {{QStringLiteral("编码"), "stor_bill_code"},
            {QStringLiteral("类型"), "stor_bill_type"},
            {QStringLiteral("单位简称"), "work_name_s"},
            {QStringLiteral("操作员"), "oper_code"},
            {QStringLiteral("应付帐款"), "stor_pay_shou", CellKind::Money},
            {QStringLiteral("已付金额"), "stor_pay_fact", CellKind::Money},
            {QStringLiteral("应收金额"), "stor_inco_shou", CellKind::Money},
            {QStringLiteral("已收金额"), "stor_inco_fact", CellKind::Money},
            {QStringLiteral("备注"), "stor_bill_rema", CellKind::Text},
            {QStringLiteral("日期"), "stor_bill_date_work", CellKind::Date}};
}

QVector<GridField> postedLineFields() {
    return {{QStringLiteral("编码"), "item_code"},
            {QStringLiteral("项目名称"), "item_name", CellKind::Text},
            {QStringLiteral("单位"), "item_unit"},
            {QStringLiteral("单价"), "item_cost_pric", CellKind::Money},
            {QStringLiteral("数量"), "item_coun", CellKind::Quantity},
            {QStringLiteral("总额"), "item_mone", CellKind::Money},
            {QStringLiteral("备注"), "item_rema", CellKind::Text}};
}

QVector<GridField> goodsFields() {
    return {{QStringLiteral("营业日期"), "stor_bill_date_work", CellKind::Date},
            {QStringLiteral("类型"), "stor_bill_type"},
            {QStringLiteral("往来单位"), "work_name_s"},
            {QStringLiteral("编码"), "item_code"},
            {QStringLiteral("项目名称"), "item_name", CellKind::Text},
            {QStringLiteral("单位"), "item_unit"},
            {QStringLiteral("单价"), "item_cost_pric", CellKind::Money},
            {QStringLiteral("数量"), "item_coun", CellKind::Quantity},
            {QStringLiteral("总额"), "item_mone", CellKind::Money},
            {QStringLiteral("备注"), "item_rema", CellKind::Text},
            {QStringLiteral("时间"), "stor_bill_date", CellKind::DateTime}};
}

QVector<GridField> stockTakeFields() {
    return {{QStringLiteral("编码"), "item_code"},
            {QStringLiteral("项目名称"), "item_name", CellKind::Text},
            {QStringLiteral("单位"), "item_unit"},
            {QStringLiteral("库存"), "item_coun", CellKind::Quantity},
            {QStringLiteral("限量"), "item_limi"},
            {QStringLiteral("单价"), "item_unit_pric", CellKind::Money},
            {QStringLiteral("成本"), "item_cost_pric", CellKind::Money},
            {QStringLiteral("类型"), "item_type_name"}};
}

QVector<GridField> ingredientUseFields() {
    return {{QStringLiteral("项目名称"), "item_name", CellKind::Text},
            {QStringLiteral("单位"), "item_unit"},
            {QStringLiteral("使用量"), "mixt", CellKind::Quantity}};
}

document::Document sheetDocument(const exporting::Sheet& sheet, const QStringList& about,
                                 const PrintedBy& by) {
    QVector<document::Column> columns;
    for (const exporting::ExportColumn& c : sheet.columns)
        columns.append(printedColumn(c, shareOf(c)));
    document::DocumentBuilder b(sheet.name, columns);
    b.title(sheet.name).fields(QStringList{QStringLiteral("单位名称：") + by.venue} + about).columnHeader();
    QVector<QVariant> values;
    int rows = 0;
    while (sheet.next(values)) {
        QVector<document::Cell> cells;
        for (int i = 0; i < sheet.columns.size(); ++i) {
            const CellKind kind = sheet.columns[i].kind;
            const exporting::CellValue cell = exporting::cellValue(values.value(i), kind);
            if (cell.type == exporting::CellValue::Type::Number)
                cells.append(document::Cell(cell.number));
            else
                cells.append(document::Cell(cell.written(kind)));
        }
        b.row(cells);
        ++rows;
    }
    b.line(QStringLiteral("共%1条").arg(rows));
    b.fields({QStringLiteral("制表时间：") + by.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
              QStringLiteral("制表人：") + by.operName});
    b.line(kMakerLine, {.align = document::Align::Center, .size = document::TextSize::Small});
    document::Document printed = b.document();
    if (printed.columns.size() > kColumnsInNormalText)
        for (document::Band& band : printed.bands)
            if (band.columns == printed.columns)
                for (document::Row& row : band.rows)
                    for (document::Cell& cell : row.cells)
                        cell.style.size = document::TextSize::Small;
    return printed;
}

} // namespace sorrel::stock
