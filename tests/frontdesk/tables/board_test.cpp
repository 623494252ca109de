// The board's logic on the demo venue: the four orders, the search by table code across
// departments, the legend's counts, and disabling or enabling a table another workstation has
// changed meanwhile.
#include "common/db/errors.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/tables/table_board.h"
#include "tests/frontdesk/tables/venue_fixture.h"

using namespace sorrel;
using namespace sorrel::tables;

namespace {

class BoardTest : public test::VenueTest {
  protected:
    QStringList codes(const QList<BoardTable>& tables, int first = 6) {
        QStringList list;
        for (const BoardTable& t : tables.mid(0, first))
            list << t.code;
        return list;
    }
};

TEST_P(BoardTest, FourSortStepsComeBackToTheOrderByCode) {
    // Names that sort differently from the codes, a few states, two openings an hour apart.
    db().exec(QStringLiteral("UPDATE TableList SET tabl_name = ? WHERE tabl_code = 'A01'"),
              {QStringLiteral("龙厅")});
    db().exec(QStringLiteral("UPDATE TableList SET tabl_name = ? WHERE tabl_code = 'A03'"),
              {QStringLiteral("0大厅")});
    setState(QStringLiteral("A04"), QStringLiteral("6"));
    open(QStringLiteral("A05"), 2);
    clock.advanceSeconds(3600);
    open(QStringLiteral("A02"), 2);

    TableBoard board;
    board.load(db());
    EXPECT_EQ(codes(board.shown()), (QStringList{"A01", "A02", "A03", "A04", "A05", "A06"}));
    const struct {
        const char* caption;
        QStringList firstSix;
    } steps[] = {
        {"台名排序", {"A03", "A10", "A11", "A12", "A02", "A04"}}, // "0…" before "大厅1…", "龙…" last
        {"状态排序", {"A01", "A03", "A06", "A07", "A08", "A09"}}, // free ones first, then in use, disabled
        {"开台排序", {"A02", "A05", "A01", "A03", "A04", "A06"}}, // latest opening first, never opened after
        {"台号排序", {"A01", "A02", "A03", "A04", "A05", "A06"}},
    };
    for (const auto& step : steps) {
        board.cycleSort();
        board.requery(db());
        EXPECT_EQ(sortCaption(board.sort()), QString::fromUtf8(step.caption));
        EXPECT_EQ(codes(board.shown()), step.firstSix) << step.caption;
    }
    board.cycleSort();
    board.cycleSort();
    board.requery(db());
    EXPECT_EQ(codes(board.shown().mid(9), 3), (QStringList{"A02", "A05", "A04"}));
}

TEST_P(BoardTest, SearchMovesWithinTheBoardUntilThreeCharactersNameATableElsewhere) {
    TableBoard board;
    board.load(db());
    ASSERT_EQ(board.department(), QStringLiteral("01"));
    ASSERT_EQ(board.type(), QStringLiteral("01"));
    const struct {
        const char* typed;
        const char* department;
        const char* type;
        const char* selected;
        bool cleared;
        const char* message;
    } steps[] = {
        {"A0", "01", "01", "A01", false, ""},
        {"A1", "01", "01", "A10", false, ""},
        {"V0", "01", "01", "A10", false, ""}, // two characters never leave the board shown
        {"V05", "02", "04", "V05", true, ""}, // the third switches department and type
        {"V0", "02", "04", "V04", false, ""},
        {"V04", "02", "04", "V04", true, ""}, // found on the board itself
        {"K06", "03", "07", "K06", true, ""},
        {"X99", "01", "01", "A01", true, "[X99]查无此房台号,请重新查找!"},
    };
    for (const auto& step : steps) {
        const SearchOutcome outcome = board.search(QString::fromLatin1(step.typed));
        EXPECT_EQ(board.department(), QString::fromLatin1(step.department)) << step.typed;
        EXPECT_EQ(board.type(), QString::fromLatin1(step.type)) << step.typed;
        EXPECT_EQ(board.selectedCode(), QString::fromLatin1(step.selected)) << step.typed;
        EXPECT_EQ(outcome.clearBox, step.cleared) << step.typed;
        EXPECT_EQ(outcome.message, QString::fromUtf8(step.message)) << step.typed;
    }
}

TEST_P(BoardTest, TheLegendCountsTheSelectedDepartmentAndType) {
    db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('04', '露台')"));
    setState(QStringLiteral("B01"), QStringLiteral("6"));
    setState(QStringLiteral("B02"), QStringLiteral("5"));
    open(QStringLiteral("B03"), 2);
    TableBoard board;
    board.load(db());
    board.selectDepartment(QStringLiteral("01"));
    const QList<TypeCount> summary = board.typeSummary();
    ASSERT_EQ(summary.size(), 2);
    EXPECT_EQ(summary[1].type.name, QStringLiteral("卡座"));
    EXPECT_EQ(summary[1].count, 4);
    board.selectType(QStringLiteral("02"));
    EXPECT_EQ(board.typeName(), QStringLiteral("卡座"));
    EXPECT_EQ(board.stateCounts(), (std::array<int, 6>{1, 1, 0, 0, 1, 1}));
    // A department without tables: no types, nothing selected, zeros everywhere.
    board.selectDepartment(QStringLiteral("04"));
    EXPECT_EQ(board.departmentName(), QStringLiteral("露台"));
    EXPECT_TRUE(board.typeSummary().isEmpty());
    EXPECT_TRUE(board.typeName().isEmpty());
    EXPECT_FALSE(board.selected());
    EXPECT_EQ(board.stateCounts(), (std::array<int, 6>{}));
}

TEST_P(BoardTest, DisablingAndEnablingActOnTheStateTheDatabaseHoldsNow) {
    std::unique_ptr<Database> other = scratch().connectAgain();
    const struct {
        const char* table;
        const char* elsewhere; // the state another workstation gave the table meanwhile
        bool enable;
        const char* after;
        bool refused;
    } cases[] = {
        {"A01", "1", false, "6", false}, {"A02", "6", true, "1", false}, {"A03", "2", false, "2", true},
        {"A04", "5", false, "5", true},  {"A05", "1", true, "1", true},  {"A06", "6", false, "6", true},
    };
    for (const auto& c : cases) {
        const QString code = QString::fromLatin1(c.table);
        other->exec(QStringLiteral("UPDATE TableList SET tabl_stat_code = ? WHERE tabl_code = ?"),
                    {c.elsewhere, code});
        try {
            c.enable ? enableTable(db(), code) : disableTable(db(), code);
            EXPECT_FALSE(c.refused) << c.table;
        } catch (const StepRefused& refused) {
            EXPECT_TRUE(c.refused) << c.table;
            EXPECT_EQ(refused.text(), tableChangedElsewhereMessage(code));
        }
        EXPECT_EQ(stateOf(code), QString::fromLatin1(c.after)) << c.table;
    }
}

SORREL_ON_EVERY_ENGINE(BoardTest);

} // namespace
