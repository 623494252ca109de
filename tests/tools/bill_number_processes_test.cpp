// Two workstations opening tables at the same moment on one database never get the same
// bill number, and the counter advances by exactly the number of openings.
#include "tests/support/built_programs.h"
#include "tests/support/test_database.h"

#include <QFile>
#include <QSet>

using namespace sorrel;

namespace {

TEST(BillNumbersAcrossWorkstations, TwoProcessesDrawingFiveHundredEachGetOneThousandDistinctNumbers) {
    test::ScratchDatabase scratch(Engine::Embedded, test::ScratchDatabase::Contents::Presets);
    const int start = scratch.db().scalar("SELECT auto_recn FROM SetupPay").toInt();

    const QString startFile = scratch.filePath() + ".start";
    QProcess first, second;
    test::startProgram(first, "sorrel-draw-bill-numbers", {scratch.filePath(), "500", "A01", startFile});
    test::startProgram(second, "sorrel-draw-bill-numbers", {scratch.filePath(), "500", "B01", startFile});
    ASSERT_TRUE(first.waitForStarted() && second.waitForStarted());
    QFile(startFile).open(QIODevice::WriteOnly);
    const test::ProgramRun a = test::finishProgram(first, 120000);
    const test::ProgramRun b = test::finishProgram(second, 120000);
    ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
    ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();

    QSet<int> numbers;
    QList<QList<int>> drawn(2);
    for (int p = 0; p < 2; ++p)
        for (const QString& line : (p == 0 ? a.out : b.out).split('\n', Qt::SkipEmptyParts)) {
            drawn[p] << line.toInt();
            numbers.insert(line.toInt());
        }
    ASSERT_EQ(drawn[0].size(), 500);
    ASSERT_EQ(drawn[1].size(), 500);
    EXPECT_EQ(numbers.size(), 1000);
    EXPECT_EQ(*std::min_element(numbers.cbegin(), numbers.cend()), start);
    EXPECT_EQ(*std::max_element(numbers.cbegin(), numbers.cend()), start + 999);
    EXPECT_EQ(scratch.db().scalar("SELECT auto_recn FROM SetupPay").toInt(), start + 1000);
    EXPECT_EQ(scratch.db().scalar("SELECT count(DISTINCT tabl_gues_auto_recn) FROM TableGuestlist").toInt(),
              1000);
}

} // namespace
