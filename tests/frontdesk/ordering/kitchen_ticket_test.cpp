// The kitchen ticket: which lines it carries and how, printed twice in a row, and the tickets of
// the output points this workstation names printers for, each with its own lines.
#include "common/document/document.h"
#include "frontdesk/ordering/kitchen_ticket.h"
#include "tests/frontdesk/ordering/ordering_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace sorrel;
using namespace sorrel::ordering;

namespace {

class KitchenTicketTest : public test::OrderingTest {
  protected:
    // The bill: 宫保鸡丁 2 with a note and one returned, 商务套餐A (its dishes for the kitchen,
    // two cola for the bar), 青岛啤酒 for the bar, 米饭 staged at 0.
    void SetUp() override {
        test::OrderingTest::SetUp();
        {
            auto s = staging(db(), bill);
            stage(*s, QStringLiteral("102001"), 2);
            db().exec(QStringLiteral("UPDATE TableConsListTemp SET cons_narr_code = '01'"));
            stage(*s, QStringLiteral("401001"), 1);
            stage(*s, QStringLiteral("201001"), 4);
            stage(*s, QStringLiteral("104003"), 0);
            commit(db(), bill);
        }
        auto s = staging(db(), bill);
        stage(*s, QStringLiteral("102001"), 1, kReturned);
        commit(db(), bill);
    }
    static QStringList texts(const document::Document& doc, document::BandKind kind) {
        QStringList all;
        for (const document::Band& band : doc.bands)
            if (band.kind == kind)
                for (const document::Row& row : band.rows) {
                    QStringList cells;
                    for (const document::Cell& cell : row.cells)
                        cells << cell.text;
                    all << cells.join(QLatin1Char('|'));
                }
        return all;
    }
    QList<KitchenTicket> tickets(const OutputPrinters& printers = {}) {
        return kitchenTickets(db(), bill, {QStringLiteral("A01"), QStringLiteral("大厅1号")}, printers,
                              clock);
    }
};

TEST_P(KitchenTicketTest, TheTicketCarriesTheUnsentKitchenLinesAndTheSecondIsEmpty) {
    const QList<KitchenTicket> first = tickets();
    ASSERT_EQ(first.size(), 1);
    const document::Document& doc = first[0].document;
    EXPECT_EQ(doc.name, QStringLiteral("小票-后厨"));
    EXPECT_EQ(texts(doc, document::BandKind::Title), QStringList{QStringLiteral("小票-后厨")});
    EXPECT_EQ(texts(doc, document::BandKind::ColumnHeader),
              QStringList{QStringLiteral("名称|口味|数量/单位")});
    // No set meal, no bar drinks, nothing at quantity 0; the return negative.
    EXPECT_EQ(texts(doc, document::BandKind::Detail),
              (QStringList{QStringLiteral("宫保鸡丁|少辣|2 份"), QStringLiteral("宫保鸡丁||1 份"),
                           QStringLiteral("红烧肉||1 份"), QStringLiteral("米饭||2 碗"),
                           QStringLiteral("宫保鸡丁||-1 份")}));
    EXPECT_TRUE(texts(doc, document::BandKind::Header).contains(QStringLiteral("A01|大厅1号")));
    EXPECT_TRUE(
        texts(doc, document::BandKind::Summary).contains(QStringLiteral("制单时间：2024-05-02 18:00:00")));

    int sent = 0;
    EXPECT_TRUE(sendKitchenTickets(db(), bill, first, [&sent](const KitchenTicket&) {
                    ++sent;
                    return QString();
                }).isEmpty());
    EXPECT_EQ(sent, 1);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT count(*) FROM TableConsList WHERE tabl_cons_tran = 0")).toInt(),
        0);
    const QList<KitchenTicket> second = tickets();
    ASSERT_EQ(second.size(), 1);
    EXPECT_TRUE(texts(second[0].document, document::BandKind::Detail).isEmpty());
    // A sent mark turned back puts its line on the next ticket.
    toggleSent(db(), db().scalar(QStringLiteral("SELECT min(tabl_cons_ID) FROM TableConsList")).toInt());
    EXPECT_EQ(texts(tickets()[0].document, document::BandKind::Detail),
              QStringList{QStringLiteral("宫保鸡丁|少辣|2 份")});
}

TEST_P(KitchenTicketTest, EachPointWithAPrinterGetsItsOwnLines) {
    OutputPrinters printers;
    printers.setPrinter(QStringLiteral("1"), QStringLiteral("吧台打印机"));
    printers.setPrinter(QStringLiteral("2"), QStringLiteral("厨房打印机"));
    const QList<KitchenTicket> all = tickets(printers);
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0].printer, QStringLiteral("厨房打印机"));
    EXPECT_EQ(all[0].lineCount, 5);
    EXPECT_EQ(all[1].printer, QStringLiteral("吧台打印机"));
    EXPECT_EQ(all[1].document.name, QStringLiteral("小票-吧台"));
    EXPECT_EQ(texts(all[1].document, document::BandKind::Detail),
              (QStringList{QStringLiteral("可口可乐||2 听"), QStringLiteral("青岛啤酒||4 瓶")}));

    // The tickets on PDF printers; the bar's printer fails, so the bar's lines stay unsent.
    QTemporaryDir pdfs;
    const QStringList failures = sendKitchenTickets(db(), bill, all, [&](const KitchenTicket& t) {
        if (t.point == QStringLiteral("1")) return QStringLiteral("找不到打印机：吧台打印机");
        QFile pdf(pdfs.filePath(t.point + QStringLiteral(".pdf")));
        return pdf.open(QIODevice::WriteOnly) ? QString() : pdf.errorString();
    });
    EXPECT_EQ(failures, QStringList{QStringLiteral("找不到打印机：吧台打印机")});
    EXPECT_EQ(tickets(printers).size(), 2);
    EXPECT_EQ(tickets(printers)[1].lineCount, 2);
    EXPECT_EQ(tickets(printers)[0].lineCount, 0);
}

TEST_P(KitchenTicketTest, ThePrintersOfAWorkstationStayInItsOwnFile) {
    QTemporaryDir dir;
    const QString file = OutputPrinters::fileIn(dir.path());
    EXPECT_TRUE(OutputPrinters::load(file).byPoint().isEmpty());
    OutputPrinters printers;
    printers.setPrinter(QStringLiteral("2"), QStringLiteral("厨房 PDF"));
    printers.setPrinter(QStringLiteral("1"), QStringLiteral("bar"));
    printers.setPrinter(QStringLiteral("1"), QString());
    ASSERT_TRUE(printers.save(file));
    EXPECT_EQ(OutputPrinters::load(file).byPoint(),
              (QMap<QString, QString>{{QStringLiteral("2"), QStringLiteral("厨房 PDF")}}));
}

TEST(OutputPrintersFile, LivesInDataAndAWorkstationSetUpBeforeKeepsItsPrinters) {
    QTemporaryDir dir;
    OutputPrinters before;
    before.setPrinter(QStringLiteral("2"), QStringLiteral("后厨"));
    ASSERT_TRUE(before.save(QDir(dir.path()).filePath(QStringLiteral("output_printers.ini"))));

    const QString file = OutputPrinters::fileIn(dir.path());
    EXPECT_EQ(QFileInfo(file).absolutePath(), QDir(dir.path()).filePath(QStringLiteral("data")));
    EXPECT_EQ(OutputPrinters::load(file).printerFor(QStringLiteral("2")), QStringLiteral("后厨"));

    OutputPrinters now;
    now.setPrinter(QStringLiteral("2"), QStringLiteral("新后厨"));
    ASSERT_TRUE(now.save(file));
    EXPECT_EQ(OutputPrinters::load(file).printerFor(QStringLiteral("2")), QStringLiteral("新后厨"));
}

SORREL_ON_EVERY_ENGINE(KitchenTicketTest);

} // namespace
