// A copy killed halfway (a power cut, a closed terminal) never leaves a target that looks
// complete, and the next copy to the same target goes through.
#include "common/db/connection.h"
#include "common/db/sqlite_database.h"
#include "common/installation/new_database.h"
#include "tests/support/built_programs.h"
#include "tests/support/test_database.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace sorrel;
using test::ProgramRun;

namespace {

class KilledCopy : public ::testing::TestWithParam<Engine> {};

TEST_P(KilledCopy, LeavesNothingThatLooksCompleteAndTheRetryWorks) {
    QTemporaryDir dir;
    const QString source = dir.filePath("venue.mdb");
    ASSERT_EQ(test::runProgram("sorrel-db", {"demo", source}).exitCode, 0);
    {
        // A long history, so that the copy is still at work when it is killed.
        SqliteDatabase db(source, databasePassword());
        db.exec("INSERT INTO AllOtherInCome (othe_inco_code, othe_inco_name, othe_inco_mone) "
                "VALUES ('1', '场地费', 33.3)");
        for (int i = 0; i < 17; ++i)
            db.exec("INSERT INTO AllOtherInCome (othe_inco_code, othe_inco_name, othe_inco_mone) "
                    "SELECT othe_inco_code, othe_inco_name, othe_inco_mone FROM AllOtherInCome");
    }
    std::unique_ptr<test::ScratchDatabase> server;
    QString target = dir.filePath("moved.mdb");
    if (GetParam() == Engine::Server) {
        server =
            std::make_unique<test::ScratchDatabase>(Engine::Server, test::ScratchDatabase::Contents::Empty);
        target = server->target();
    }

    QProcess copy;
    test::startProgram(copy, "sorrel-db", {"copy", source, target});
    static const QRegularExpression progress(QStringLiteral("已复制 (\\d+)/(\\d+) 行"));
    QString shown;
    bool partway = false;
    while (!partway && copy.waitForReadyRead(60000)) {
        shown += QString::fromUtf8(copy.readAllStandardOutput());
        QRegularExpressionMatch last;
        for (const QRegularExpressionMatch& m : progress.globalMatch(shown))
            last = m;
        partway = last.hasMatch() && last.captured(1).toLongLong() > 0 &&
                  last.captured(1).toLongLong() < last.captured(2).toLongLong();
    }
    ASSERT_TRUE(partway) << shown.toStdString();
    copy.kill();
    ASSERT_TRUE(copy.waitForFinished());

    const ProgramRun check = test::runProgram("sorrel-db", {"check", target});
    EXPECT_FALSE(check.crashed);
    EXPECT_EQ(check.exitCode, 1) << check.out.toStdString();
    if (GetParam() == Engine::Embedded) {
        EXPECT_FALSE(QFileInfo::exists(target));
    }

    const ProgramRun retry = test::runProgram("sorrel-db", {"copy", source, target}, 180000);
    ASSERT_EQ(retry.exitCode, 0) << retry.err.toStdString();
    const ProgramRun again = test::runProgram("sorrel-db", {"check", target}, 180000);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(QRegularExpression("AllOtherInCome\\s+131072\\n")))
        << again.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(installation::incompleteFile(target)));
}

SORREL_ON_EVERY_ENGINE(KilledCopy);

} // namespace
