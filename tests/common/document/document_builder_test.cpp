// A bill built as a document: the bands come in reading order, each group's footer adds up its
// own lines, returns included, and the totals add up every line, to the cent; a list spooled
// where it cannot be written is refused.
#include "common/document/document_builder.h"
#include "common/document/number_format.h"
#include "common/db/errors.h"

#include <QTemporaryFile>
#include <gtest/gtest.h>

using namespace sorrel::document;

namespace {

Document twoKindBill() {
    DocumentBuilder b(QStringLiteral("帐单"),
                      {Column::text(QStringLiteral("项目名称"), 4, 8),
                       Column::centred(QStringLiteral("单位")), Column::money(QStringLiteral("单价")),
                       Column::quantity(QStringLiteral("数量")).summing(),
                       Column::money(QStringLiteral("金额")).summing()});
    b.title(QStringLiteral("帐单")).fields({QStringLiteral("房台名称：A08"), QStringLiteral("客人人数：6")});
    b.columnHeader();
    b.beginGroup(QStringLiteral("热菜"))
        .row({QStringLiteral("宫保鸡丁"), QStringLiteral("份"), 28.0, 2.0, 56.0})
        .row({QStringLiteral("宫保鸡丁"), QStringLiteral("份"), 28.0, -1.0, -28.0})
        .row({QStringLiteral("凉拌木耳"), QStringLiteral("份"), 0.1, 3.0, 0.1 * 3})
        .endGroup({QStringLiteral("热菜"), QStringLiteral("小计")});
    b.beginGroup(QStringLiteral("酒水"))
        .row({QStringLiteral("青岛啤酒"), QStringLiteral("瓶"), 8.0, 1.5, 12.0})
        .endGroup({QStringLiteral("酒水"), QStringLiteral("小计")});
    b.totals({QStringLiteral("合计")}).line(QStringLiteral("付款明细：现金 40.30"));
    return b.document();
}

QStringList texts(const Row& row) {
    QStringList out;
    for (const Cell& cell : row.cells)
        out << cell.text + (cell.span > 1 ? QStringLiteral("[%1]").arg(cell.span) : QString());
    return out;
}

} // namespace

TEST(DocumentBuilder, BillBandsComeInReadingOrderWithTheirSums) {
    const Document bill = twoKindBill();
    struct Expected {
        BandKind kind;
        QStringList firstRow; // cell texts, [n] for a cell spanning n columns
        int rows;
    };
    const Expected expected[] = {
        {BandKind::Title, {"帐单"}, 1},
        {BandKind::Header, {"房台名称：A08", "客人人数：6"}, 1},
        {BandKind::ColumnHeader, {"项目名称", "单位", "单价", "数量", "金额"}, 1},
        {BandKind::GroupHeader, {"热菜[5]"}, 1},
        {BandKind::Detail, {"宫保鸡丁", "份", "28.00", "2", "56.00"}, 3},
        // 2 ordered less 1 returned, and three lines' worth of 0.10 is 0.30 to the cent.
        {BandKind::GroupFooter, {"热菜", "小计[2]", "4", "28.30"}, 1},
        {BandKind::GroupHeader, {"酒水[5]"}, 1},
        {BandKind::Detail, {"青岛啤酒", "瓶", "8.00", "1.5", "12.00"}, 1},
        {BandKind::GroupFooter, {"酒水", "小计[2]", "1.5", "12.00"}, 1},
        {BandKind::Summary, {"合计[3]", "5.5", "40.30"}, 1},
        {BandKind::Summary, {"付款明细：现金 40.30"}, 1},
    };
    ASSERT_EQ(bill.bands.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Band& band = bill.bands[i];
        EXPECT_EQ(band.kind, expected[i].kind) << "band " << i;
        ASSERT_EQ(band.rows.size(), expected[i].rows) << "band " << i;
        EXPECT_EQ(texts(band.rows.first()), expected[i].firstRow) << "band " << i;
    }
    // The sums are figures too, for whoever reads the document further.
    EXPECT_DOUBLE_EQ(*bill.bands[9].rows[0].cells[2].value, 40.3);
}

TEST(DocumentBuilder, GroupsInsideGroupsAddUpIntoTheirParent) {
    DocumentBuilder b(QStringLiteral("营业日报"), {Column::text(QStringLiteral("部门")),
                                                   Column::money(QStringLiteral("金额")).summing()});
    b.beginGroup(QStringLiteral("2024-05-01"));
    b.beginGroup(QStringLiteral("大厅"))
        .row({QStringLiteral("早班"), 100.0})
        .row({QStringLiteral("晚班"), 50.5});
    b.endGroup({QStringLiteral("大厅小计")});
    b.beginGroup(QString()).row({QStringLiteral("包厢"), 300.0}).endGroup({QStringLiteral("包厢小计")});
    b.endGroup({QStringLiteral("当日合计")});
    b.beginGroup(QStringLiteral("2024-05-02")).row({QStringLiteral("大厅"), 20.0});
    b.endGroup({QStringLiteral("当日合计")}).totals({QStringLiteral("总计")});

    QStringList footers;
    for (const Band& band : b.document().bands)
        if (band.kind == BandKind::GroupFooter || band.kind == BandKind::Summary)
            footers << texts(band.rows[0]).join(QLatin1Char(' '));
    const QStringList expected = {"大厅小计 150.50", "包厢小计 300.00", "当日合计 450.50", "当日合计 20.00",
                                  "总计 470.50"};
    EXPECT_EQ(footers, expected);
}

TEST(NumberFormat, FiguresAreWrittenAsTheBillHoldsThem) {
    struct Case {
        const char* what;
        double value;
        NumberFormat format;
        const char* expected;
    };
    const Case cases[] = {
        {"money to the cent", 56, NumberFormat::Money, "56.00"},
        {"a half cent stored below the half", 2.675, NumberFormat::Money, "2.68"},
        {"a refund", -28.5, NumberFormat::Money, "-28.50"},
        {"less than a cent owed is nothing, not minus nothing", -0.001, NumberFormat::Money, "0.00"},
        {"a whole quantity", 2, NumberFormat::Quantity, "2"},
        {"half a portion", 1.5, NumberFormat::Quantity, "1.5"},
        {"a quantity from binary noise", 0.1 * 3, NumberFormat::Quantity, "0.3"},
        {"a returned quantity", -1, NumberFormat::Quantity, "-1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.format), QString::fromUtf8(c.expected)) << c.what;
}

// A list too long to hold is spooled to the temporary folder; where that folder cannot be
// written, the report is refused with a message naming it, not printed short.
TEST(DocumentStream, UnwritableTemporaryFolderRefusesTheListWithItsName) {
    // A file where the folder should be: not even the administrator can write into it.
    QTemporaryFile notAFolder;
    ASSERT_TRUE(notAFolder.open());
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", notAFolder.fileName().toUtf8());
    try {
        DocumentStream::spooled(QStringLiteral("帐单查询报表"), {Column::text(QStringLiteral("单号"))},
                                [](const BandSink& sink) {
                                    DocumentBuilder b(QStringLiteral("帐单查询报表"),
                                                      {Column::text(QStringLiteral("单号"))}, sink);
                                    b.row({QStringLiteral("1024")});
                                    b.finish();
                                });
        ADD_FAILURE() << "a list spooled nowhere was taken as printed";
    } catch (const sorrel::StepRefused& refused) {
        EXPECT_TRUE(refused.text().contains(notAFolder.fileName())) << refused.what();
    }
    qputenv("TMPDIR", saved);
}
