// The inventory's query grids as the manager takes them away (a CSV file, an Excel workbook, a
// PDF list) and the printed stock-take sheet and menu: the files carry the grid's captions and
// its figures as figures, the paper closes with who made it, and each class prints under its
// captions.
#include "backoffice/stock/stock_documents.h"
#include "backoffice/stock/stock_grids.h"
#include "backoffice/stock/stock_posting.h"
#include "backoffice/stock/stock_queries.h"
#include "common/export/csv_file.h"
#include "common/export/xlsx_file.h"
#include "tests/backoffice/stock/stock_fixture.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace sorrel;
using namespace sorrel::stock;

namespace {

// One cell of a worksheet read back: a figure or a text.
struct ReadCell {
    bool figure = false;
    QString text;
};
using ReadSheet = QList<QList<ReadCell>>;

QByteArray unzipped(const QString& path, const QString& member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, member});
    if (!unzip.waitForFinished(30000)) return {};
    return unzip.readAllStandardOutput();
}

// The first worksheet of a workbook as a spreadsheet program reads its cells.
ReadSheet readWorkbook(const QString& path) {
    QStringList shared;
    QXmlStreamReader strings(unzipped(path, QStringLiteral("xl/sharedStrings.xml")));
    while (!strings.atEnd())
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == QLatin1String("t"))
            shared << strings.readElementText();
    ReadSheet sheet;
    QXmlStreamReader xml(unzipped(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString type;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("row")) {
            sheet.append(QList<ReadCell>());
        } else if (xml.name() == QLatin1String("c")) {
            type = xml.attributes().value(QLatin1String("t")).toString();
        } else if (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t")) {
            const QString value = xml.readElementText();
            if (type == QLatin1String("s"))
                sheet.last().append({false, shared.value(value.toInt())});
            else
                sheet.last().append({type.isEmpty() || type == QLatin1String("n"), value});
        }
    }
    return sheet;
}

QStringList textsOf(const QList<ReadCell>& row) {
    QStringList texts;
    for (const ReadCell& cell : row)
        texts << cell.text;
    return texts;
}

QStringList texts(const document::Document& d) {
    QStringList all;
    for (const document::Band& band : d.bands)
        for (const document::Row& row : band.rows)
            for (const document::Cell& cell : row.cells)
                if (!cell.text.isEmpty()) all << cell.text;
    return all;
}

class StockExportTest : public test::StockTest {
  protected:
    QString file(const QString& name) { return dir.filePath(name); }
    // A posted purchase from 青岛 whose remark a spreadsheet would take for a formula.
    RecordSet postedPurchase() {
        const QVariant id = enterBill(kPurchase, "001", {{"0001", 10, 6}});
        db().exec("UPDATE StoreBill SET stor_bill_rema = ? WHERE stor_bill_ID = ?",
                  {QStringLiteral("=1+1,\"冰\"\n下"), id});
        postBill(db(), id);
        const QDate day(2026, 3, 4);
        return postedBills(db(), "001", day, day);
    }
    QTemporaryDir dir;
};

// Each grid into a workbook: its captions first, then its rows with stock, prices and amounts as
// figures a spreadsheet adds up, days as dates, codes and names as text.
TEST_P(StockExportTest, EachGridGoesIntoAWorkbookWithItsFiguresAsFigures) {
    const QDate day(2026, 3, 4);
    const RecordSet bills = postedPurchase();
    db().exec("INSERT INTO AllCons (tabl_gues_auto_recn, item_code, item_type_code, item_coun_flag, "
              "item_type_flag, tabl_cons_coun, tabl_cons_time_work) VALUES (1, '0006', '3', 1, 1, 4, ?)",
              {QDateTime(day, QTime(0, 0))});
    setStock("0002", 4);
    const struct {
        const char* name;
        QVector<GridField> fields;
        RecordSet rows;
        QStringList captions;
        // The row whose first cell is `key`, as it reads back, and which of its cells are figures.
        QString key;
        QStringList row;
        QList<bool> figures;
    } grids[] = {
        {"库存盘点",
         stockTakeFields(),
         stockTake(db(), StockTakeRows::Counted),
         {"编码", "项目名称", "单位", "库存", "限量", "单价", "成本", "类型"},
         "0001",
         {"0001", "青岛啤酒", "瓶", "20", "有限", "8", "5", "单品"},
         {false, false, false, true, false, true, true, false}},
        {"库存预警",
         stockTakeFields(),
         lowStock(db()),
         {"编码", "项目名称", "单位", "库存", "限量", "单价", "成本", "类型"},
         "0002",
         {"0002", "可乐", "听", "4", "有限", "5", "2", "单品"},
         {false, false, false, true, false, true, true, false}},
        {"库存帐务",
         postedBillFields(),
         bills,
         {"编码", "类型", "单位简称", "操作员", "应付帐款", "已付金额", "应收金额", "已收金额", "备注",
          "日期"},
         "B1",
         {"B1", "进货单", "青岛", "01", "60", "0", "0", "0", "=1+1,\"冰\"\n下"},
         {false, false, false, false, true, true, true, true, false}},
        {"帐务查询",
         goodsFields(),
         goodsLines(db(), "0001", DateRange{day, day}),
         {"营业日期", "类型", "往来单位", "编码", "项目名称", "单位", "单价", "数量", "总额", "备注", "时间"},
         "46085", // the business date, as Excel counts days
         {"46085", "进货单", "青岛", "0001", "青岛啤酒", "瓶", "6", "10", "60"},
         {true, false, false, false, false, false, true, true, true}},
        {"配料使用",
         ingredientUseFields(),
         ingredientUse(db(), day, day),
         {"项目名称", "单位", "使用量"},
         "基酒",
         {"基酒", "升", "0.8"},
         {false, false, true}},
    };
    for (const auto& g : grids) {
        SCOPED_TRACE(g.name);
        const QString path = file(QStringLiteral("%1.xlsx").arg(g.name));
        exporting::writeXlsxFile(path, {exporting::recordSetSheet(QString::fromUtf8(g.name), g.fields, g.rows)});
        const ReadSheet sheet = readWorkbook(path);
        ASSERT_EQ(sheet.size(), g.rows.rowCount() + 1);
        EXPECT_EQ(textsOf(sheet[0]), g.captions);
        const auto row = std::find_if(sheet.begin() + 1, sheet.end(), [&](const QList<ReadCell>& r) {
            return !r.isEmpty() && r[0].text == g.key;
        });
        ASSERT_NE(row, sheet.end()) << g.key.toStdString();
        for (int i = 0; i < g.row.size(); ++i) {
            ASSERT_LT(i, row->size());
            EXPECT_EQ((*row)[i].text, g.row[i]) << "column " << i;
            EXPECT_EQ((*row)[i].figure, g.figures[i]) << "column " << i;
        }
    }
}

// The CSV of a grid stays as a spreadsheet opens it: a byte order mark, Chinese intact, a remark
// with a comma, quotes and a line break one quoted cell, a formula a text.
TEST_P(StockExportTest, AGridsCsvFileKeepsItsChineseAndNeverRunsAFormula) {
    const RecordSet bills = postedPurchase();
    const QString path = file(QStringLiteral("accounts.csv"));
    exporting::writeCsvFile(path, exporting::recordSetSheet(QStringLiteral("库存帐务"), postedBillFields(), bills));
    QFile csv(path);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(
        QString::fromUtf8(bytes.mid(3)),
        QStringLiteral("编码,类型,单位简称,操作员,应付帐款,已付金额,应收金额,已收金额,备注,日期\r\n"
                       "B1,进货单,青岛,01,60.00,0.00,0.00,0.00,\"'=1+1,\"\"冰\"\"\n下\",2026-03-04\r\n"));
}

// The PDF of a grid is the grid printed: its name as title, the venue and what the grid holds,
// the captions, the rows with money to the cent, how many, and who made it when.
TEST_P(StockExportTest, AGridPrintsAsAListWithItsRowsAndWhoMadeIt) {
    setStock("0002", 4);
    const PrintedBy by{"岚舟测试酒楼", "管理员", clock.now()};
    const document::Document d =
        sheetDocument(exporting::recordSetSheet(QStringLiteral("库存预警"), stockTakeFields(), lowStock(db())),
                      {QStringLiteral("预警数量：5")}, by);
    EXPECT_EQ(d.name, QStringLiteral("库存预警"));
    const QStringList printed = texts(d);
    ASSERT_FALSE(printed.isEmpty());
    EXPECT_EQ(printed.first(), QStringLiteral("库存预警"));
    for (const char* expected :
         {"单位名称：岚舟测试酒楼", "预警数量：5", "编码", "库存", "成本", "0002", "可乐", "5.00", "2.00",
          "共1条", "制表时间：2026-03-04 10:00:00", "制表人：管理员"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(printed.last(), kMakerLine);
    // The stock and the prices stand as figures, right-aligned under their captions.
    ASSERT_EQ(d.columns.size(), 8);
    EXPECT_EQ(d.columns[3].align, document::Align::Right);
    EXPECT_EQ(d.columns[5].format, document::NumberFormat::Money);
}

// The stock-take sheet prints each class under "分类->" and the captions, with its sums; the
// menu the same without stock, cost or any sums row; both close with the maker's line.
TEST_P(StockExportTest, EachClassPrintsUnderItsCaptionsAndTheMenuWithoutSums) {
    const PrintedBy by{"岚舟测试酒楼", "管理员", clock.now()};
    const struct {
        const char* name;
        document::Document document;
        int classes;
        int sums;
    } sheets[] = {
        {"盘点表", stockTakeSheet(stockTake(db(), StockTakeRows::Counted), by), 2, 2 + 2 + 1},
        {"菜谱", menuSheet(stockTake(db(), StockTakeRows::Menu), by), 2, 0},
    };
    for (const auto& s : sheets) {
        SCOPED_TRACE(s.name);
        const QVector<document::Band>& bands = s.document.bands;
        int classes = 0, sums = 0, captions = 0;
        for (int i = 0; i < bands.size(); ++i) {
            const document::Band& band = bands[i];
            if (band.kind == document::BandKind::ColumnHeader) ++captions;
            if (band.kind == document::BandKind::GroupFooter ||
                (band.kind == document::BandKind::Summary && band.columns == s.document.columns))
                ++sums;
            if (band.kind != document::BandKind::GroupHeader ||
                !band.rows[0].cells[0].text.startsWith(QStringLiteral("分类->")))
                continue;
            ++classes;
            ASSERT_LT(i + 1, bands.size());
            EXPECT_EQ(bands[i + 1].kind, document::BandKind::ColumnHeader);
            EXPECT_EQ(bands[i + 1].rows[0].cells[0].text, QStringLiteral("编码"));
        }
        EXPECT_EQ(classes, s.classes);
        // The captions stand under each class and nowhere else.
        EXPECT_EQ(captions, s.classes);
        EXPECT_EQ(sums, s.sums);
        const QStringList printed = texts(s.document);
        EXPECT_EQ(printed.last(), kMakerLine);
        EXPECT_EQ(printed[printed.size() - 2], QStringLiteral("制表人：管理员"));
        EXPECT_EQ(printed[printed.size() - 3], QStringLiteral("制表时间：2026-03-04 10:00:00"));
    }
}

SORREL_ON_EVERY_ENGINE(StockExportTest);

} // namespace
