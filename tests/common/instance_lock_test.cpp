// One program of the product per machine, tried with real processes: a second front desk, a
// front desk beside a back office and the reverse are refused with their messages, and a
// program that was killed does not keep the next one from starting.
#include "common/instance_lock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The tests and the stand-in program are built into the same folder.
QString holderPath() {
    const QString folder =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
    const QString candidate = QDir(folder).filePath(QStringLiteral("sorrel-instance-holder"));
    return QFileInfo::exists(candidate) ? candidate : QString();
}

class InstanceLockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_FALSE(holderPath().isEmpty()) << "sorrel-instance-holder not built";
    }
    void TearDown() override {
        for (auto& p : running_) {
            p->closeWriteChannel();
            p->waitForFinished(5000);
        }
    }

    // Starts a program that gets its lock and keeps running; fails the test otherwise.
    QProcess* startHolding(const char* program) {
        auto p = std::make_unique<QProcess>();
        p->start(holderPath(), {QString::fromLatin1(program), dir_.path()});
        EXPECT_TRUE(p->waitForStarted(5000));
        EXPECT_TRUE(p->waitForReadyRead(10000));
        EXPECT_EQ(p->readLine().trimmed(), QByteArray("HELD"));
        running_.push_back(std::move(p));
        return running_.back().get();
    }
    // Starts a program and returns what it says as it ends ("HELD" if it was allowed to start).
    QString tryStart(const char* program) {
        QProcess p;
        p.start(holderPath(), {QString::fromLatin1(program), dir_.path()});
        EXPECT_TRUE(p.waitForStarted(5000));
        EXPECT_TRUE(p.waitForReadyRead(10000));
        const QString said = QString::fromUtf8(p.readLine().trimmed());
        p.closeWriteChannel();
        p.waitForFinished(5000);
        return said;
    }

    QTemporaryDir dir_;
    std::vector<std::unique_ptr<QProcess>> running_;
};

TEST_F(InstanceLockTest, EachProgramSeesItselfAndTheOther) {
    struct Case {
        const char* running;
        const char* starting;
        const char* said;
    } cases[] = {
        {"front", "front", "[前台系统]已经运行！"},
        {"front", "back", "[前台系统]运行时不能运行[后台系统]，请退出[前台系统]后运行！"},
        {"back", "back", "[后台系统]已经运行！"},
        {"back", "front", "[后台系统]运行时不能运行[前台系统]，请退出[后台系统]后运行！"},
    };
    for (const Case& c : cases) {
        QProcess* holder = startHolding(c.running);
        EXPECT_EQ(tryStart(c.starting), QString::fromUtf8(c.said)) << c.running << " then " << c.starting;
        holder->closeWriteChannel();
        ASSERT_TRUE(holder->waitForFinished(5000));
        // Once the first has ended normally the refused one may start.
        EXPECT_EQ(tryStart(c.starting), QStringLiteral("HELD"));
    }
}

TEST_F(InstanceLockTest, AKilledProgramDoesNotBlockTheNextStart) {
    for (const char* program : {"front", "back"}) {
        QProcess* holder = startHolding(program);
        holder->kill(); // no chance to remove its lock file
        ASSERT_TRUE(holder->waitForFinished(5000));
        EXPECT_EQ(tryStart("front"), QStringLiteral("HELD")) << program;
        EXPECT_EQ(tryStart("back"), QStringLiteral("HELD")) << program;
    }
}

TEST_F(InstanceLockTest, ARunningProgramKeepsItsLockBeyondAnyAge) {
    QProcess* holder = startHolding("front");
    // Age the lock file as if the program had run for a week.
    const QString lockFile = QDir(dir_.path()).filePath(QStringLiteral("sorrel-frontdesk.lock"));
    QFile file(lockFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addDays(-7), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(tryStart("front"), QStringLiteral("[前台系统]已经运行！"));
    holder->closeWriteChannel();
}

} // namespace
