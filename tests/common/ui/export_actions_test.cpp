// The export buttons of a report as the operator meets them: the file lands where it was
// chosen (with its extension), a cancelled dialog builds and writes nothing, a folder that
// cannot be written is told in Chinese, a long list (rows, or a spooled list's PDF) shows its
// progress and stops when cancelled without leaving a file, and the PDF is the document.
#include "common/document/document_builder.h"
#include "common/ui/export_actions.h"
#include "common/ui/guard.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace sorrel;
using namespace sorrel::exporting;

namespace {

// Answers the file dialog with `answer`, keeping the path the program proposed.
class ChosenPath {
  public:
    explicit ChosenPath(const QString& answer) {
        ui::setSaveFileChooser(
            [this, answer](QWidget*, const QString&, const QString& proposed, const QString&) {
                this->proposed = proposed;
                return answer;
            });
    }
    ~ChosenPath() { ui::setSaveFileChooser({}); }
    QString proposed;
};

// `rows` bills, each read after `pauseUs` microseconds; counts how many were built.
Sheet bills(int rows, int pauseUs = 0, std::shared_ptr<int> built = std::make_shared<int>(0)) {
    auto next = std::make_shared<int>(0);
    Sheet sheet{QStringLiteral("帐单"),
                {{QStringLiteral("单号")}, {QStringLiteral("实收金额"), CellKind::Money}},
                [=](QVector<QVariant>& row) {
                    if (*next >= rows) return false;
                    if (pauseUs > 0) QThread::usleep(pauseUs);
                    row = {QStringLiteral("B%1").arg(++*next), 10.0};
                    return true;
                }};
    sheet.expectedRows = rows;
    ++*built;
    return sheet;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ExportActions, FileGoesWhereChosenAndTheOperatorIsToldWhere) {
    test::screenApplication();
    const QTemporaryDir dir;
    QWidget window;
    struct Case {
        const char* chosen;
        const char* written;
    };
    for (const Case c :
         {Case{"营业.csv", "营业.csv"}, Case{"营业", "营业.csv"}, Case{"营业.CSV", "营业.CSV"}}) {
        SCOPED_TRACE(c.chosen);
        test::ScriptedSink sink;
        const ChosenPath chooser(dir.filePath(QString::fromUtf8(c.chosen)));
        const QString written = dir.filePath(QString::fromUtf8(c.written));
        EXPECT_TRUE(ui::exportCsv(&window, QStringLiteral("帐单查询报表"), [] { return bills(2); }));
        EXPECT_TRUE(chooser.proposed.endsWith(QStringLiteral("/帐单查询报表.csv")))
            << chooser.proposed.toStdString();
        EXPECT_EQ(fileBytes(written), QByteArray("\xEF\xBB\xBF单号,实收金额\r\nB1,10.00\r\nB2,10.00\r\n"));
        ASSERT_EQ(sink.shown.size(), 1);
        EXPECT_EQ(sink.shown[0].kind, MessageKind::Information);
        EXPECT_TRUE(sink.shown[0].text.contains(written)) << sink.shown[0].text.toStdString();
        QFile::remove(written);
    }
    // The next export opens on the folder the last one went to.
    const ChosenPath again((QString()));
    ui::exportExcel(&window, QStringLiteral("销售分析报表"), [] { return QVector<Sheet>{bills(1)}; });
    EXPECT_EQ(again.proposed, dir.filePath(QStringLiteral("销售分析报表.xlsx")));
}

TEST(ExportActions, CancelledDialogBuildsAndWritesNothing) {
    test::screenApplication();
    test::ScriptedSink sink;
    const ChosenPath chooser((QString()));
    auto built = std::make_shared<int>(0);
    EXPECT_FALSE(ui::exportCsv(nullptr, QStringLiteral("帐单"), [&] { return bills(2, 0, built); }));
    EXPECT_FALSE(ui::exportPdf(nullptr, QStringLiteral("帐单"), [&] {
        ++*built;
        return document::Document();
    }));
    EXPECT_EQ(*built, 0);
    EXPECT_TRUE(sink.shown.isEmpty());
}

TEST(ExportActions, FolderThatCannotBeWrittenIsToldInChinese) {
    test::screenApplication();
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("没有的文件夹/帐单.xlsx"));
    test::ScriptedSink sink;
    const ChosenPath chooser(path);
    EXPECT_FALSE(ui::exportExcel(nullptr, QStringLiteral("帐单"), [] { return QVector<Sheet>{bills(3)}; }));
    ASSERT_EQ(sink.shown.size(), 1);
    EXPECT_EQ(sink.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(sink.shown[0].text.contains(QStringLiteral("不存在"))) << sink.shown[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

// A long list spooled as a year's bill list is: its PDF takes seconds to lay out and paint.
document::DocumentStream spooledBills(int rows) {
    const QVector<document::Column> columns{document::Column::text(QStringLiteral("单号")),
                                            document::Column::money(QStringLiteral("实收金额")).summing()};
    return document::DocumentStream::spooled(
        QStringLiteral("帐单查询报表"), columns, [&](const document::BandSink& sink) {
            document::DocumentBuilder b(QStringLiteral("帐单查询报表"), columns, sink);
            b.title(QStringLiteral("帐单查询报表")).columnHeader();
            for (int i = 1; i <= rows; ++i)
                b.row({QStringLiteral("B%1").arg(i), 10.0});
            b.totals({QStringLiteral("合计")});
            b.finish();
        });
}

TEST(ExportActions, LongListShowsItsProgressAndStopsWhenCancelled) {
    test::screenApplication();
    struct Case {
        const char* what;
        const char* file;
        std::function<bool(QWidget*)> exportIt;
        int most; // the bar's end
    };
    const QList<Case> cases{
        // Some 20 seconds of rows, unless the cancel button stops them.
        {"CSV", "一年.csv",
         [](QWidget* w) { return ui::exportCsv(w, QStringLiteral("帐单"), [] { return bills(200000, 100); }); },
         200000},
        {"PDF", "一年.pdf",
         [](QWidget* w) { return ui::exportPdf(w, QStringLiteral("帐单"), [] { return spooledBills(60000); }); },
         100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromUtf8(c.file));
        QWidget window;
        window.show();
        test::ScriptedSink sink;
        const ChosenPath chooser(path);
        int shownAt = -1;
        QTimer cancel;
        ui::connectGuarded(&cancel, &QTimer::timeout, &cancel, [&] {
            auto* progress = window.findChild<QProgressDialog*>(QStringLiteral("exportProgress"));
            if (!progress || !progress->isVisible()) return;
            shownAt = progress->value();
            progress->findChild<QPushButton*>()->click();
            cancel.stop();
        });
        cancel.start(50);
        EXPECT_FALSE(c.exportIt(&window));
        EXPECT_GE(shownAt, 0);
        EXPECT_LT(shownAt, c.most);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0)
            << "no file, and no partial file beside it";
        EXPECT_TRUE(sink.shown.isEmpty()) << "a cancelled export is no failure";
    }
}

TEST(ExportActions, PdfIsTheDocumentOnA4) {
    test::screenApplication();
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("销售分析.pdf"));
    test::ScriptedSink sink;
    const ChosenPath chooser(path);
    EXPECT_TRUE(ui::exportPdf(nullptr, QStringLiteral("销售分析"), [] {
        document::DocumentBuilder b(QStringLiteral("消费分析报表"),
                                    {document::Column::text(QStringLiteral("项目"))});
        b.title(QStringLiteral("消费分析报表"));
        return b.document();
    }));
    EXPECT_TRUE(fileBytes(path).startsWith("%PDF"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no partial file beside it";
}
