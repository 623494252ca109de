// The error log beside the program: one file a day, the last month kept, only its owner can
// read it (the statements it holds name the venue's data), and an entry says when, where and
// what. Without a log folder nothing is lost: the entry goes to the standard error stream.
#include "common/clock.h"
#include "common/error_log.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace sorrel {
namespace {

unsigned modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

class ErrorLogTest : public ::testing::Test {
  protected:
    void SetUp() override { errorlog::install(programDir_.path(), clock_); }
    void TearDown() override { errorlog::uninstall(); }
    QDir logDir() const { return QDir(QDir(programDir_.path()).filePath(QStringLiteral("log"))); }

    QTemporaryDir programDir_;
    FixedClock clock_{QDateTime(QDate(2026, 11, 1), QTime(9, 15, 0))};
};

TEST_F(ErrorLogTest, AnEntryNamesTheTimeTheMachineAndTheStatement) {
    const QString reference = errorlog::write(QStringLiteral("a screen handler"),
                                              QStringLiteral("no such column\nSQL: SELECT x FROM t"));
    EXPECT_TRUE(reference.startsWith(QStringLiteral("20261101-091500-")));
    QFile file(logDir().filePath(QStringLiteral("sorrel-2026-11-01.log")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString& expected : {QStringLiteral("[2026-11-01 09:15:00]"), QSysInfo::machineHostName(),
                                    QStringLiteral("ref ") + reference, QStringLiteral("a screen handler"),
                                    QStringLiteral("SQL: SELECT x FROM t")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    EXPECT_EQ(modeOf(file.fileName()), 0600u);
    EXPECT_EQ(modeOf(logDir().path()), 0700u);

    // A second entry of the same second has its own reference, in the same file.
    EXPECT_NE(errorlog::write(QStringLiteral("again"), QString()), reference);
    EXPECT_EQ(logDir().entryList(QDir::Files).size(), 1);
}

TEST_F(ErrorLogTest, OneFileADayAndOnlyTheLastMonthKept) {
    struct Step {
        int days; // after the first
        int filesAfter;
        const char* oldestKept;
    } steps[] = {{0, 1, "sorrel-2026-11-01.log"},
                 {1, 2, "sorrel-2026-11-01.log"},
                 {29, 30, "sorrel-2026-11-01.log"},
                 {30, 30, "sorrel-2026-11-02.log"},
                 {44, 30, "sorrel-2026-11-16.log"}};
    const QDateTime first = clock_.now();
    for (int day = 0; day <= 44; ++day) {
        clock_.set(first.addDays(day));
        errorlog::write(QStringLiteral("day %1").arg(day), QString());
        for (const Step& s : steps) {
            if (s.days != day) continue;
            const QStringList files = logDir().entryList(QDir::Files, QDir::Name);
            EXPECT_EQ(files.size(), s.filesAfter) << day;
            EXPECT_EQ(files.value(0), QString::fromUtf8(s.oldestKept)) << day;
        }
    }
}

TEST_F(ErrorLogTest, AFileMadeReadableByOthersIsNarrowedAgain) {
    const QString path = logDir().filePath(QStringLiteral("sorrel-2026-11-01.log"));
    ASSERT_TRUE(QDir().mkpath(logDir().path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ::chmod(QFile::encodeName(path).constData(), 0644);
    errorlog::write(QStringLiteral("x"), QStringLiteral("y"));
    EXPECT_EQ(modeOf(path), 0600u);
}

TEST_F(ErrorLogTest, TheInstalledProgramsShareTheirGroupsFolder) {
    // The package makes log/ a folder of group sorrel with setgid: each member's program writes
    // to the day's file, nobody outside the group reads it.
    ASSERT_TRUE(QDir().mkpath(logDir().path()));
    ::chmod(QFile::encodeName(logDir().path()).constData(), 02775);
    errorlog::write(QStringLiteral("x"), QStringLiteral("y"));
    EXPECT_EQ(modeOf(logDir().filePath(QStringLiteral("sorrel-2026-11-01.log"))), 0660u);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(logDir().path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 02770u);
}

TEST(ErrorLogWithoutFolderTest, NothingIsWrittenToDiskBeforeInstall) {
    errorlog::uninstall();
    EXPECT_TRUE(errorlog::folder().isEmpty());
    EXPECT_FALSE(errorlog::write(QStringLiteral("start-up"), QStringLiteral("detail")).isEmpty());
}

} // namespace
} // namespace sorrel
