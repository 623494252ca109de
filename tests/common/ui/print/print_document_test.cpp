// Printed documents as the guest and the office get them: a Chinese bill in a PDF on A4 and on
// the 80 mm roll with its font inside, a long list over several sheets with the column titles
// on each, nothing running off the roll even for a wide report, and a target that cannot
// print says so.
#include "common/document/document_builder.h"
#include "common/ui/print/document_layout.h"
#include "common/ui/print/print_document.h"
#include "tests/support/screen_application.h"

#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace sorrel::document;
using namespace sorrel::ui::print;

namespace {

const QString kLongName = QStringLiteral("清蒸鲈鱼（时价，约一斤二两，活鱼现杀，配姜丝葱段）");

const QVector<Column> kBillColumns{Column::text(QStringLiteral("项目名称"), 4, 8),
                                   Column::centred(QStringLiteral("单位")),
                                   Column::money(QStringLiteral("单价"), 1.5, 7),
                                   Column::quantity(QStringLiteral("数量"), 1, 4).summing(),
                                   Column::money(QStringLiteral("金额"), 1.5).summing()};

void buildBill(DocumentBuilder& b, int extraLines) {
    b.title(QStringLiteral("帐单"))
        .line(QStringLiteral("悦来酒家"), {.align = Align::Center, .bold = true, .underline = true})
        .fields({QStringLiteral("房台名称：包厢A08"), QStringLiteral("开台时间：2024-05-01 18:30:00")})
        .columnHeader();
    b.beginGroup(QStringLiteral("热菜"))
        .row({QStringLiteral("宫保鸡丁"), QStringLiteral("份"), 28.0, 2.0, 56.0})
        .row({kLongName, QStringLiteral("条"), 1288.0, 1.0, 1288.0});
    for (int i = 1; i <= extraLines; ++i)
        b.row({QStringLiteral("特色小吃%1号").arg(i), QStringLiteral("份"), 12.0, 1.0, 12.0});
    b.endGroup({QStringLiteral("热菜"), QStringLiteral("小计")}).totals({QStringLiteral("合计")});
    b.line(QStringLiteral("欢迎再次光临"), {.align = Align::Center}).rule();
}

Document bill(int extraLines = 0) {
    DocumentBuilder b(QStringLiteral("帐单"), kBillColumns);
    buildBill(b, extraLines);
    return b.document();
}

// The same bill built into a spool, as a year's list is, never held whole.
DocumentStream spooledBill(int extraLines) {
    return DocumentStream::spooled(QStringLiteral("帐单"), kBillColumns, [&](const BandSink& sink) {
        DocumentBuilder b(QStringLiteral("帐单"), kBillColumns, sink);
        buildBill(b, extraLines);
        b.finish();
    });
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page, as a reader copying it out of the PDF gets it.
QStringList pdfPages(const QString& pdf) {
    QStringList pages =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

QString pdfPrinted(const DocumentStream& document, const PageFormat& format, const QTemporaryDir& dir,
                   const QString& name = QString()) {
    sorrel::test::screenApplication();
    const QString path = dir.filePath(format.name + name + QStringLiteral(".pdf"));
    const PrintResult result = printDocument(document, PrintTarget::pdf(path, format));
    EXPECT_TRUE(result.ok()) << result.failure.toStdString();
    return path;
}

} // namespace

TEST(PrintDocument, ChineseBillReadsBackFromThePdfOnBothFormats) {
    const QTemporaryDir dir;
    struct Case {
        PageFormat format;
        const char* pageSize; // as pdfinfo gives it
    };
    for (const Case& c :
         {Case{PageFormat::a4(), "595 x 842 pts (A4)"}, Case{PageFormat::receiptRoll80(), "227 x "}}) {
        SCOPED_TRACE(c.format.name.toStdString());
        const QString pdf = pdfPrinted(bill(), c.format, dir);
        const QStringList pages = pdfPages(pdf);
        ASSERT_EQ(pages.size(), 1);
        for (const char* text : {"帐单", "悦来酒家", "包厢A08", "宫保鸡丁", "1288.00", "小计", "1344.00",
                                 "合计", "欢迎再次光临"})
            EXPECT_TRUE(pages[0].contains(QString::fromUtf8(text))) << text << "\n" << pages[0].toStdString();
        EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QString::fromUtf8(c.pageSize)));
        // Another machine shows the bill only if the Chinese font travels inside the file.
        const QStringList fonts = run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n')).mid(2);
        ASSERT_FALSE(fonts.first().isEmpty());
        for (const QString& font : fonts)
            if (!font.isEmpty()) {
                EXPECT_TRUE(font.contains(QStringLiteral(" yes "))) << font.toStdString();
            }
    }
}

TEST(PrintDocument, LongListGoesOverSheetsWithColumnTitlesOnEachAndStaysOneRoll) {
    const QTemporaryDir dir;
    const int lines = 150;
    const QStringList sheets = pdfPages(pdfPrinted(bill(lines), PageFormat::a4(), dir));
    ASSERT_GE(sheets.size(), 3);
    int printedLines = 0;
    for (int page = 0; page < sheets.size(); ++page) {
        EXPECT_TRUE(sheets[page].contains(QStringLiteral("项目名称"))) << "sheet " << page + 1;
        // pdftotext gives the spaces of "第 1 页 / 共 3 页" as it likes.
        const QString unspaced = QString(sheets[page]).remove(QLatin1Char(' '));
        EXPECT_TRUE(unspaced.contains(QStringLiteral("第%1页/共%2页").arg(page + 1).arg(sheets.size())))
            << "sheet " << page + 1;
        printedLines += int(sheets[page].count(QStringLiteral("特色小吃")));
    }
    EXPECT_EQ(printedLines, lines) << "every line once, none lost at a page break";
    EXPECT_TRUE(sheets.last().contains(QStringLiteral("合计")));

    const QStringList roll = pdfPages(pdfPrinted(bill(lines), PageFormat::receiptRoll80(), dir));
    ASSERT_EQ(roll.size(), 1);
    EXPECT_EQ(int(roll[0].count(QStringLiteral("特色小吃"))), lines);
    EXPECT_EQ(int(roll[0].count(QStringLiteral("项目名称"))), 1);
}

// A list read from its spool is laid out without its text and placed again row by row as it is
// painted: it must come out line for line as the list held whole, its titles on every sheet,
// its page numbers counted, nothing lost where the spool hands its rows over in parts.
TEST(PrintDocument, SpooledListPrintsAsTheListHeldWhole) {
    const QTemporaryDir dir;
    for (const PageFormat& format : {PageFormat::a4(), PageFormat::receiptRoll80()})
        for (int lines : {0, 255, 700}) {
            SCOPED_TRACE(format.name.toStdString() + " with " + std::to_string(lines) + " lines");
            const QStringList whole = pdfPages(pdfPrinted(bill(lines), format, dir, QStringLiteral("whole")));
            const QStringList spooled =
                pdfPages(pdfPrinted(spooledBill(lines), format, dir, QStringLiteral("spooled")));
            ASSERT_FALSE(whole.isEmpty());
            EXPECT_EQ(spooled, whole);
        }
}

// A day's report with more columns of figures than the roll has room for side by side.
Document salesReport() {
    QVector<Column> columns = {Column::text(QStringLiteral("结帐时间"), 2, 10),
                               Column::text(QStringLiteral("房台")),
                               Column::quantity(QStringLiteral("人数"), 1, 4).summing()};
    for (const char* figure : {"消费金额", "折扣", "服务费", "应收", "实收"})
        columns.append(Column::money(QString::fromUtf8(figure)).summing());
    DocumentBuilder b(QStringLiteral("营业明细表"), columns);
    b.title(QStringLiteral("营业明细表")).columnHeader();
    for (int i = 1; i <= 4; ++i)
        b.row({QStringLiteral("2024-05-01 1%1:20").arg(i), QStringLiteral("A%1").arg(i), 4.0, 1234.5 * i,
               -12.0, 61.7, 1284.2 * i, 12840.0 * i});
    b.totals({QStringLiteral("合计")});
    return b.document();
}

TEST(PrintDocument, OnTheRollNothingRunsOffOrOverlapsAndFiguresStayWhole) {
    sorrel::test::screenApplication();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const PageFormat roll = PageFormat::receiptRoll80();
    const double width = roll.printableWidthMm() * printer.resolution() / 25.4;
    bool longNameWrapped = false;
    for (const Document& document : {bill(), salesReport()}) {
        SCOPED_TRACE(document.name.toStdString());
        for (const PlacedRow& row : layOutDocument(document, roll, &printer, width, 0).rows) {
            for (int c = 0; c < row.cells.size(); ++c) {
                const PlacedCell& cell = row.cells[c];
                const std::string text = cell.text->text().toStdString();
                EXPECT_LE(cell.x + cell.width, width + 0.5) << text;
                for (int i = 0; i < cell.text->lineCount(); ++i)
                    EXPECT_LE(cell.text->lineAt(i).naturalTextWidth(), cell.width + 0.5) << text;
                if (c > 0 && row.cells[c - 1].y == cell.y) {
                    EXPECT_LE(row.cells[c - 1].x + row.cells[c - 1].width, cell.x) << text;
                }
                bool isFigure = false;
                cell.text->text().toDouble(&isFigure);
                if (isFigure) {
                    EXPECT_EQ(cell.text->lineCount(), 1) << text;
                }
                if (cell.text->text() == kLongName) longNameWrapped = cell.text->lineCount() > 1;
            }
        }
    }
    EXPECT_TRUE(longNameWrapped);
}

TEST(PrintDocument, TargetThatCannotPrintSaysSo) {
    sorrel::test::screenApplication();
    const QTemporaryDir dir;
    const QString missingFolder = dir.filePath(QStringLiteral("没有的文件夹/帐单.pdf"));
    const PrintTarget targets[] = {
        PrintTarget::pdf(missingFolder, PageFormat::a4()),
        PrintTarget::printer(QStringLiteral("不存在的打印机"), PageFormat::receiptRoll80()),
    };
    for (const PrintTarget& target : targets) {
        const PrintResult result = printDocument(bill(), target);
        EXPECT_FALSE(result.ok()) << target.destination.toStdString();
        EXPECT_TRUE(result.failure.contains(target.destination)) << result.failure.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(missingFolder));
}
