// A report's grid leaving the program as a file: a spreadsheet opening the CSV finds the
// Chinese intact, every row once, figures it can add up and no formula smuggled in a name; the
// workbook read back holds numbers as numbers, days as days and the captions frozen; and a
// file that cannot be written is refused in Chinese with nothing half-written left behind.
#include "common/db/errors.h"
#include "common/export/csv_file.h"
#include "common/export/xlsx_file.h"
#include "tests/support/write_protected.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>

using namespace sorrel;
using namespace sorrel::exporting;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A sheet of the given rows, pulled one at a time.
Sheet sheetOf(const QVector<ExportColumn>& columns, const QVector<QVector<QVariant>>& rows,
              const QString& name = QStringLiteral("帐单")) {
    auto next = std::make_shared<int>(0);
    return Sheet{name, columns, [rows, next](QVector<QVariant>& row) {
                     if (*next >= rows.size()) return false;
                     row = rows[(*next)++];
                     return true;
                 }};
}

// A bill list of `count` rows read in pages of `pageSize`, as a long report hands it over;
// `largestPage` keeps the most rows any page held.
Sheet billList(int count, int pageSize, std::shared_ptr<int> largestPage) {
    const QStringList fields = {QStringLiteral("tabl_code"), QStringLiteral("tabl_gues_fact")};
    return pagedSheet(
        QStringLiteral("帐单查询"), {{QStringLiteral("单号")}, {QStringLiteral("实收金额"), CellKind::Money}},
        [=](int page) {
            QList<QVariantList> rows;
            for (int i = page * pageSize; i < std::min(count, (page + 1) * pageSize); ++i)
                rows.append({QStringLiteral("B%1").arg(i + 1, 6, 10, QLatin1Char('0')), i + 0.5});
            *largestPage = std::max(*largestPage, int(rows.size()));
            return RecordSet(fields, rows);
        },
        fields);
}

QJsonArray readBack(const QString& xlsx) {
    QProcess python;
    python.start(QStringLiteral(SORREL_PYTHON3), {QStringLiteral(SORREL_READ_XLSX), xlsx});
    python.waitForFinished(60000);
    const QByteArray out = python.readAllStandardOutput();
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(out).array();
}

// What is left in the folder besides what was there: a failed export leaves nothing.
QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(CsvExport, EachValueIsWrittenAsASpreadsheetReadsIt) {
    struct Case {
        CellKind kind;
        QVariant value;
        const char* field;
    };
    const Case cases[] = {
        {CellKind::Text, QStringLiteral("包厢A08"), "包厢A08"},
        {CellKind::Text, QStringLiteral("张三,李四"), "\"张三,李四\""},
        {CellKind::Text, QStringLiteral("8\"寸\"披萨"), "\"8\"\"寸\"\"披萨\""},
        {CellKind::Text, QStringLiteral("第一行\n第二行"), "\"第一行\n第二行\""},
        // A name a guest typed never runs as a formula when the file opens.
        {CellKind::Text, QStringLiteral("=1+1"), "'=1+1"},
        {CellKind::Text, QStringLiteral("+86 138"), "'+86 138"},
        {CellKind::Text, QStringLiteral("-5"), "'-5"},
        {CellKind::Text, QStringLiteral("@SUM(A1)"), "'@SUM(A1)"},
        {CellKind::Text, QStringLiteral("=HYPERLINK(\"x\",\"y\")"), "\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\""},
        {CellKind::Text, QVariant(), ""},
        // A refund stays a number the spreadsheet adds up.
        {CellKind::Money, -12.5, "-12.50"},
        {CellKind::Money, 1234567.891, "1234567.89"},
        {CellKind::Money, 2.675, "2.68"},
        {CellKind::Money, -0.001, "0.00"},
        {CellKind::Money, QStringLiteral("88"), "88.00"},
        {CellKind::Money, QVariant(), ""},
        {CellKind::Money, QStringLiteral(""), ""},
        {CellKind::Integer, 109500, "109500"},
        {CellKind::Quantity, 1.5, "1.5"},
        {CellKind::Quantity, -2.0, "-2"},
        {CellKind::Percent, 35.246, "35.25"},
        {CellKind::Date, QStringLiteral("2024-06-03 00:00:00"), "2024-06-03"},
        {CellKind::Date, QDate(2024, 6, 3), "2024-06-03"},
        {CellKind::DateTime, QStringLiteral("2024-06-03 18:30:05"), "2024-06-03 18:30:05"},
        {CellKind::DateTime, QDateTime(QDate(2024, 6, 3), QTime(23, 59, 59)), "2024-06-03 23:59:59"},
        // What fits no figure is the text it is, neutralised as any text.
        {CellKind::Money, QStringLiteral("-免单-"), "'-免单-"},
        {CellKind::Date, QStringLiteral("未结帐"), "未结帐"},
    };
    const QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const QString path = dir.filePath(QStringLiteral("一列.csv"));
        writeCsvFile(path, sheetOf({{QStringLiteral("列"), c.kind}}, {{c.value}}));
        EXPECT_EQ(fileBytes(path), QByteArray("\xEF\xBB\xBF列\r\n") + c.field + "\r\n");
    }
}

TEST(CsvExport, FileStartsWithTheMarkAndCaptionsAndEndsEveryRowWithCrLf) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("帐单查询.csv"));
    writeCsvFile(path, sheetOf({{QStringLiteral("单号")},
                                {QStringLiteral("台桌名称")},
                                {QStringLiteral("结帐时间"), CellKind::DateTime},
                                {QStringLiteral("客人数"), CellKind::Integer},
                                {QStringLiteral("实收金额"), CellKind::Money}},
                               {{QStringLiteral("B000101"), QStringLiteral("大厅,A1"),
                                 QStringLiteral("2024-06-03 01:20:00"), 4, 388.0},
                                {QStringLiteral("B000102"), QStringLiteral("包厢"), QVariant(), 2, -20.0}}));
    EXPECT_EQ(fileBytes(path), QByteArray("\xEF\xBB\xBF"
                                          "单号,台桌名称,结帐时间,客人数,实收金额\r\n"
                                          "B000101,\"大厅,A1\",2024-06-03 01:20:00,4,388.00\r\n"
                                          "B000102,包厢,,2,-20.00\r\n"));
}

TEST(CsvExport, EveryRowOfAPagedListGoesOutOnceWithOnlyAPageHeld) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("一年.csv"));
    auto largestPage = std::make_shared<int>(0);
    writeCsvFile(path, billList(10000, 700, largestPage));
    const QList<QByteArray> lines = fileBytes(path).split('\n');
    ASSERT_EQ(lines.size(), 10002) << "captions, 10000 rows and the end of the last line";
    EXPECT_EQ(lines[1], "B000001,0.50\r");
    EXPECT_EQ(lines[5000], "B005000,4999.50\r");
    EXPECT_EQ(lines[10000], "B010000,9999.50\r");
    EXPECT_TRUE(lines[10001].isEmpty());
    EXPECT_EQ(*largestPage, 700);
}

TEST(XlsxExport, ReadBackHoldsNumbersDatesChineseAndFrozenCaptions) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("销售分析.xlsx"));
    const QString longName = QStringLiteral("清蒸鲈鱼（时价，约一斤二两）");
    writeXlsxFile(path,
                  {sheetOf({{QStringLiteral("日期"), CellKind::Date},
                            {QStringLiteral("单号")},
                            {QStringLiteral("项目名称")},
                            {QStringLiteral("数量"), CellKind::Quantity},
                            {QStringLiteral("金额"), CellKind::Money},
                            {QStringLiteral("毛利率"), CellKind::Percent},
                            {QStringLiteral("结帐时间"), CellKind::DateTime},
                            {QStringLiteral("人数"), CellKind::Integer}},
                           {{QStringLiteral("2024-06-03 00:00:00"), QStringLiteral("=1+1"), longName, 1.5,
                             1288.0, 35.25, QStringLiteral("2024-06-03 23:59:59"), 4},
                            {QDate(2024, 6, 4), QStringLiteral("00120"), QStringLiteral("宫保鸡丁"), -1.0,
                             -28.004, QVariant(), QVariant(), 0}},
                           QStringLiteral("点单分析")),
                   // A name Excel refuses ([ ] / and too long) and one already taken still make sheets.
                   sheetOf({{QStringLiteral("付款方式")}, {QStringLiteral("收入金额"), CellKind::Money}},
                           {{QStringLiteral("现金"), 100.0}},
                           QStringLiteral("[收入]/2024年6月1日至2024年6月30日的收入状况表")),
                   sheetOf({{QStringLiteral("付款方式")}}, {}, QStringLiteral("点单分析"))});
    const QJsonArray sheets = readBack(path);
    ASSERT_EQ(sheets.size(), 3);
    const QJsonObject items = sheets[0].toObject();
    EXPECT_EQ(items[u"name"].toString(), QStringLiteral("点单分析"));
    EXPECT_EQ(items[u"frozen"].toString(), QStringLiteral("A2"));
    const QJsonArray rows = items[u"rows"].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toArray()[2].toObject()[u"value"].toString(), QStringLiteral("项目名称"));
    struct Expect {
        int row, column;
        const char* type;
        QVariant value;
        const char* format;
    };
    const Expect cells[] = {
        {1, 0, "d", QStringLiteral("2024-06-03 00:00:00"), "yyyy-mm-dd"},
        // Text is only text to Excel: no quote is needed, none is added.
        {1, 1, "s", QStringLiteral("=1+1"), "General"},
        {1, 2, "s", longName, "General"},
        {1, 3, "n", 1.5, "General"},
        {1, 4, "n", 1288.0, "0.00"},
        {1, 5, "n", 0.3525, "0.00%"},
        {1, 6, "d", QStringLiteral("2024-06-03 23:59:59"), "yyyy-mm-dd hh:mm:ss"},
        {1, 7, "n", 4, "0"},
        {2, 0, "d", QStringLiteral("2024-06-04 00:00:00"), "yyyy-mm-dd"},
        {2, 1, "s", QStringLiteral("00120"), "General"},
        {2, 3, "n", -1.0, "General"},
        {2, 4, "n", -28.0, "0.00"},
        {2, 5, "n", QVariant(), "General"},
        {2, 7, "n", 0, "0"},
    };
    for (const Expect& e : cells) {
        SCOPED_TRACE(testing::Message() << "row " << e.row << " column " << e.column);
        const QJsonObject cell = rows[e.row].toArray()[e.column].toObject();
        EXPECT_EQ(cell[u"type"].toString(), QLatin1String(e.type));
        if (e.value.isValid()) {
            EXPECT_EQ(cell[u"value"].toVariant(), e.value);
        } else {
            EXPECT_TRUE(cell[u"value"].isNull());
        }
        EXPECT_EQ(cell[u"format"].toString(), QLatin1String(e.format));
    }
    // The long Chinese name shows whole: each character two digits wide, and room either side.
    const QJsonObject widths = items[u"widths"].toObject();
    EXPECT_GE(widths[u"C"].toDouble(), 2 * longName.size());
    EXPECT_LT(widths[u"C"].toDouble(), 2 * longName.size() + 4);
    EXPECT_GE(widths[u"G"].toDouble(), 19);

    const QString second = sheets[1].toObject()[u"name"].toString();
    EXPECT_TRUE(second.startsWith(QStringLiteral("_收入__2024年6月1日"))) << second.toStdString();
    EXPECT_LE(second.size(), 31);
    EXPECT_EQ(sheets[2].toObject()[u"name"].toString(), QStringLiteral("点单分析(2)"));
    EXPECT_EQ(sheets[2].toObject()[u"rows"].toArray().size(), 1) << "the captions of an empty list";
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("销售分析.xlsx")});
}

TEST(XlsxExport, AYearsListGoesOutWhole) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("帐单.xlsx"));
    auto largestPage = std::make_shared<int>(0);
    writeXlsxFile(path, {billList(10000, 700, largestPage)});
    const QJsonArray rows = readBack(path)[0].toObject()[u"rows"].toArray();
    ASSERT_EQ(rows.size(), 10001);
    double sum = 0;
    for (int i = 1; i < rows.size(); ++i)
        sum += rows[i].toArray()[1].toObject()[u"value"].toDouble();
    EXPECT_DOUBLE_EQ(sum, 10000 * 9999 / 2.0 + 5000);
    EXPECT_EQ(rows[10000].toArray()[0].toObject()[u"value"].toString(), QStringLiteral("B010000"));
}

namespace {

using Writer = std::function<void(const QString& path, const Sheet& sheet)>;

const std::pair<const char*, Writer> kWriters[] = {
    {"csv", [](const QString& path, const Sheet& sheet) { writeCsvFile(path, sheet); }},
    {"xlsx", [](const QString& path, const Sheet& sheet) { writeXlsxFile(path, {sheet}); }},
};

void writeEarlier(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier");
}

// The message the writer refused with, empty when it wrote.
QString refusal(const Writer& write, const QString& path, const Sheet& sheet) {
    try {
        write(path, sheet);
    } catch (const StepRefused& refused) {
        return refused.text();
    }
    return {};
}

// A disk of `bytes` mounted on `folder` while the object lives, where the machine lets the test
// mount one (root, as the test machines run): a disk that fills up during an export.
class SmallDisk {
  public:
    SmallDisk(const QString& folder, int bytes) : folder_(QFile::encodeName(folder)) {
        QDir().mkpath(folder);
        const QByteArray size = "size=" + QByteArray::number(bytes);
        mounted_ = ::mount("sorrel-small-disk", folder_.constData(), "tmpfs", 0, size.constData()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

  private:
    QByteArray folder_;
    bool mounted_ = false;
};

} // namespace

TEST(ExportFailure, RefusedInChineseAndNothingHalfWrittenIsLeft) {
    for (const auto& [kind, write] : kWriters) {
        SCOPED_TRACE(kind);
        const QTemporaryDir dir;
        auto largestPage = std::make_shared<int>(0);
        const QString missing = dir.filePath(QStringLiteral("没有的文件夹/帐单.") + kind);
        EXPECT_TRUE(refusal(write, missing, billList(10, 5, largestPage)).contains(QStringLiteral("不存在")));

        const QString locked = dir.filePath(QStringLiteral("只读"));
        QDir().mkpath(locked);
        {
            const test::WriteProtected protection(locked);
            if (protection.holds()) {
                EXPECT_TRUE(
                    refusal(write, locked + QStringLiteral("/帐单.") + kind, billList(10, 5, largestPage))
                        .contains(QStringLiteral("权限")));
            }
        }
        EXPECT_TRUE(filesIn(locked).isEmpty());

        // An earlier export of the same name stays as it was when the new one fails.
        const QString earlier = dir.filePath(QStringLiteral("帐单.") + kind);
        writeEarlier(earlier);

        // A list whose reading fails half-way (the database went away) passes its error on.
        Sheet failing = billList(3000, 1000, largestPage);
        failing.next = [rows = 0, next = failing.next](QVector<QVariant>& row) mutable {
            if (++rows > 2000) throw DbError(QStringLiteral("connection lost"));
            return next(row);
        };
        EXPECT_THROW(write(earlier, failing), DbError);
        EXPECT_EQ(fileBytes(earlier), "earlier");
        EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("帐单.") + kind});
    }
}

TEST(ExportFailure, FullDiskIsRefusedAndTheEarlierFileKept) {
    const QTemporaryDir dir;
    const SmallDisk disk(dir.filePath(QStringLiteral("U盘")), 192 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "this machine lets no test mount a small disk";
    for (const auto& [kind, write] : kWriters) {
        SCOPED_TRACE(kind);
        const QString earlier = dir.filePath(QStringLiteral("U盘/帐单.") + kind);
        writeEarlier(earlier);
        auto largestPage = std::make_shared<int>(0);
        EXPECT_TRUE(
            refusal(write, earlier, billList(50000, 1000, largestPage)).contains(QStringLiteral("磁盘")));
        EXPECT_EQ(fileBytes(earlier), "earlier");
        EXPECT_EQ(filesIn(dir.filePath(QStringLiteral("U盘"))), QStringList{QStringLiteral("帐单.") + kind});
        QFile::remove(earlier);
    }
}
