// The inventory's query grids as the manager sees them and takes them away: each column's caption,
// the field it shows and what kind of figure that is, so the grid on the screen, the CSV file, the
// Excel workbook and the PDF list carry the same columns and the same figures.
#pragma once

#include "backoffice/stock/stock_documents.h"
#include "common/db/recordset.h"
#include "common/document/document.h"
#include "common/export/sheet.h"

#include <QStringList>
#include <QVector>

namespace sorrel::stock {

using GridField = exporting::FieldColumn;

// "库存帐务": the posted bills of a partner, and the selected bill's lines under "明细列表".
QVector<GridField> postedBillFields();
QVector<GridField> postedLineFields();
// "帐务查询": the posted lines of goods.
QVector<GridField> goodsFields();
// "库存盘点": the counted items, the menu's items and the low-stock list "库存预警".
QVector<GridField> stockTakeFields();
// "配料使用": each ingredient's use.
QVector<GridField> ingredientUseFields();

// A grid's sheet printed as a list on A4: the sheet's name as title, "单位名称：", the lines
// saying what the grid holds (its dates, its partner), the captions and the rows as the files
// write them, then "制表时间：", "制表人：" and the maker's line. The rows are read as it goes.
document::Document sheetDocument(const exporting::Sheet& sheet, const QStringList& about,
                                 const PrintedBy& by);

} // namespace sorrel::stock
