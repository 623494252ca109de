// A workstation stopped in the middle of its save (Wi-Fi gone, process frozen) holds the writing
// lock. Another workstation's step must wait a bounded time, showing that it waits, and then be
// refused as busy — a message, not the coded failure that closes the program — and must go
// through once the stopped one is gone.
#include "common/db/errors.h"
#include "common/db/lock_wait.h"
#include "common/db/transaction.h"
#include "tests/support/built_programs.h"
#include "tests/support/test_database.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <vector>

using namespace sorrel;

namespace {

constexpr int kBoundMs = 1000;

// What the program's notice would hear, and whether the connection refused a statement asked of
// it while it waited (a board refresh firing while the window paints).
struct HeardWaits : WaitObserver {
    Database* db = nullptr;
    std::vector<int> waited;
    int over = 0;
    QString refusedInside;
    void waiting(int ms) override {
        waited.push_back(ms);
        if (!db || !refusedInside.isEmpty()) return;
        try {
            db->query(QStringLiteral("SELECT count(*) FROM TableList"));
            refusedInside = QStringLiteral("(answered)");
        } catch (const DbError& e) {
            refusedInside = e.text();
        }
    }
    void waitOver() override { ++over; }
};

// A second workstation that took the writing lock and was then stopped where it stood.
class StoppedWorkstation {
  public:
    StoppedWorkstation(const QString& target, const QStringList& extra = {}) {
        test::startProgram(process_, QStringLiteral("sorrel-hold-writing-lock"), QStringList{target} + extra);
        QByteArray out;
        while (!out.contains("HELD\n") && process_.waitForReadyRead(30000))
            out += process_.readAllStandardOutput();
        held_ = out.contains("HELD\n");
        if (held_) ::kill(pid_t(process_.processId()), SIGSTOP);
    }
    ~StoppedWorkstation() { killNow(); }
    bool held() const { return held_; }
    QString errors() { return QString::fromUtf8(process_.readAllStandardError()); }
    void killNow() {
        if (process_.state() == QProcess::NotRunning) return;
        ::kill(pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(30000);
    }

  private:
    QProcess process_;
    bool held_ = false;
};

class LockWaitTest : public test::EngineTest {
  protected:
    void SetUp() override {
        lock_wait::setBoundMs(kBoundMs);
        test::EngineTest::SetUp();
    }
    void TearDown() override {
        lock_wait::setObserver(nullptr);
        lock_wait::setBoundMs(0);
        test::EngineTest::TearDown();
    }

    // An opening's worth of writing, as one business step under its failure code.
    static void renameTables(Database& db) {
        runCoded(db, QStringLiteral("B100002"),
                 [&] { db.exec(QStringLiteral("UPDATE TableList SET tabl_name = tabl_name")); });
    }

    // Tries the step until it goes through; answers the refusals met meanwhile, or -1 when it
    // never went through.
    static int refusalsUntilThrough(Database& db, int withinMs) {
        int refusals = 0;
        for (QElapsedTimer since; !since.isValid() || since.elapsed() < withinMs;) {
            if (!since.isValid()) since.start();
            try {
                renameTables(db);
                return refusals;
            } catch (const DatabaseBusy&) {
                ++refusals;
            }
            QThread::msleep(100);
        }
        return -1;
    }
};

TEST_P(LockWaitTest, AStoppedWorkstationMakesTheStepBusyNotFatalUntilItIsGone) {
    StoppedWorkstation stopped(scratch().target());
    ASSERT_TRUE(stopped.held()) << stopped.errors().toStdString();
    const std::unique_ptr<Database> desk = scratch().connectAgain();
    HeardWaits heard;
    heard.db = desk.get();
    lock_wait::setObserver(&heard);

    QElapsedTimer took;
    took.start();
    try {
        renameTables(*desk);
        ADD_FAILURE() << "the step went through while another workstation held the lock";
    } catch (const DatabaseBusy& busy) {
        EXPECT_EQ(busy.text(), QStringLiteral("其他工作站正在保存数据，请稍候再试！"));
    } catch (const CodedFailure& failure) {
        ADD_FAILURE() << "the program would close: " << failure.what();
    }
    EXPECT_GE(took.elapsed(), kBoundMs - 100);
    EXPECT_LT(took.elapsed(), kBoundMs + 4000);
    EXPECT_FALSE(desk->inTransaction());

    // The program heard all along that the step waited, and once that it ended; meanwhile the
    // connection refused to be used from inside the wait.
    ASSERT_FALSE(heard.waited.empty());
    EXPECT_LT(heard.waited.front(), 400);
    EXPECT_GE(heard.waited.back(), kBoundMs - 200);
    EXPECT_GT(heard.waited.size(), 10u);
    EXPECT_EQ(heard.over, 1);
    EXPECT_TRUE(heard.refusedInside.contains(QStringLiteral("等待"))) << heard.refusedInside.toStdString();

    // Readers outside a transaction never wait; once the stopped workstation is killed the server
    // (or the file's lock) lets the step through.
    EXPECT_EQ(desk->scalar(QStringLiteral("SELECT count(*) FROM TableList")).toInt(),
              db().scalar(QStringLiteral("SELECT count(*) FROM TableList")).toInt());
    stopped.killNow();
    heard.db = nullptr;
    EXPECT_GE(refusalsUntilThrough(*desk, 20000), 0);
}

// A workstation that vanished without its socket closing (a dropped network) is ended by the
// server once it has been silent inside its transaction for twice the bound: the others go on
// though it never comes back.
TEST_P(LockWaitTest, TheServerFreesTheLockOfAWorkstationThatFellSilent) {
    if (GetParam() != Engine::Server) GTEST_SKIP() << "a stopped process keeps the file's lock";
    StoppedWorkstation stopped(scratch().target(), {QString::number(kBoundMs)});
    ASSERT_TRUE(stopped.held()) << stopped.errors().toStdString();
    const std::unique_ptr<Database> desk = scratch().connectAgain();
    EXPECT_GE(refusalsUntilThrough(*desk, 15000), 0);
}

// Any other failure inside the step stays the coded failure it always was.
TEST_P(LockWaitTest, OnlyAWaitForTheLockIsARefusal) {
    try {
        runCoded(db(), QStringLiteral("B100002"),
                 [&] { db().exec(QStringLiteral("UPDATE NoSuchTable SET x = 1")); });
        ADD_FAILURE() << "a statement on a missing table went through";
    } catch (const StepRefused& refused) {
        ADD_FAILURE() << "refused as busy: " << refused.what();
    } catch (const CodedFailure& failure) {
        EXPECT_EQ(failure.code(), QStringLiteral("B100002"));
    }
}

SORREL_ON_EVERY_ENGINE(LockWaitTest);

} // namespace
