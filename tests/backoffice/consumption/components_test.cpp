// Set meals and composites: what their components bring with them, the stock and rule they
// derive, their price from components, the type changes that clear them, and that a failed
// recomputation leaves the menu as it was.
#include "tests/backoffice/consumption/consumption_fixture.h"

#include "backoffice/consumption/item_components.h"
#include "backoffice/consumption/item_type_change.h"
#include "common/db/errors.h"

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::consumption;

namespace {

// The type choice as the item panel makes it: the change's question goes to the manager (the
// scripted sink answers) and its refusal is shown.
void chooseType(ConsumptionLists& lists, const QString& chosen) {
    try {
        if (const auto question = changeItemType(lists, chosen))
            changeItemType(lists, chosen, messages::ask(*question));
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
    }
}

class ComponentsTest : public test::ConsumptionTest {
  protected:
    void SetUp() override {
        ConsumptionTest::SetUp();
        addItem("101", "8001", "2", 58);   // set meal
        addItem("101", "7001", "3", 18);   // composite
        addItem("102", "2002", "1", 6, 2); // single item
        reopen();
    }
    // The components of `parent` as the manager builds them, then "回退".
    void build(const QString& parent, const QList<QPair<QString, QString>>& components) {
        select(parent);
        ASSERT_TRUE(openComponents(lists()));
        for (const auto& [item, quantity] : components) {
            addComponent(lists(), item);
            lists().components().edit("grou_coun", quantity);
        }
        leaveComponents(lists());
    }
    // The components of a set meal holding composite 7001 (M001×2, M002×1) three times.
    void buildSetMeal() {
        build("7001", {{"M001", "2"}, {"M002", "1"}});
        build("8001", {{"7001", "3"}, {"2001", "1"}});
    }
    QStringList menuState() {
        QStringList state = componentRows("8001") + componentRows("7001");
        const RecordSet items = db().query(
            "SELECT item_code, item_type_code, item_limi, item_coun FROM itemlist ORDER BY item_code");
        for (int i = 0; i < items.rowCount(); ++i)
            state << items.text(i, "item_code") + "/" + items.text(i, "item_type_code") + "/" +
                         items.text(i, "item_limi") + "/" + QString::number(items.number(i, "item_coun"));
        return state;
    }
};

TEST_P(ComponentsTest, ACompositeInASetMealBringsItsIngredientsAtTheSetMealsQuantity) {
    buildSetMeal();
    EXPECT_EQ(componentRows("8001"), (QStringList{"2001×1", "7001×3", "M001×6 via 7001", "M002×3 via 7001"}));
    // The editor shows the direct components only.
    select("8001");
    ASSERT_TRUE(openComponents(lists()));
    EXPECT_EQ(lists().components().rowCount(), 2);

    // Adding the same item again adds nothing.
    addComponent(lists(), "2001");
    leaveComponents(lists());
    EXPECT_EQ(componentRows("8001").size(), 4);

    // The composite gets another ingredient quantity: every set meal holding it follows.
    build("7001", {{"M001", "1"}});
    EXPECT_EQ(componentRows("8001"), (QStringList{"2001×1", "7001×3", "M001×3 via 7001", "M002×3 via 7001"}));

    // Taken out of the set meal, the composite takes its rows along.
    select("8001");
    ASSERT_TRUE(openComponents(lists()));
    ASSERT_TRUE(lists().components().moveToKey(
        db().scalar("SELECT grou_ID FROM ItemGroup WHERE grou_code = '8001' AND item_code = '7001'")));
    ASSERT_TRUE(lists().components().remove());
    leaveComponents(lists());
    EXPECT_EQ(componentRows("8001"), QStringList{"2001×1"});
}

TEST_P(ComponentsTest, TheLastComponentGoneTheParentsRowsGoEverywhere) {
    buildSetMeal();
    select("7001");
    ASSERT_TRUE(openComponents(lists()));
    while (!lists().components().isEmpty())
        ASSERT_TRUE(lists().components().remove());
    leaveComponents(lists());
    EXPECT_EQ(componentRows("8001"), (QStringList{"2001×1", "7001×3"}));
    EXPECT_EQ(itemColumn("7001", "item_limi").toString(), QStringLiteral("不限"));
}

TEST_P(ComponentsTest, AParentsRuleAndStockFollowFromItsComponents) {
    struct Case {
        const char* m001;
        double m001Stock;
        const char* m002;
        QString rule;
        double stock;
    } cases[] = {
        {"有限", 10, "有限", QStringLiteral("有限"), 1}, // 10 / 6 and 7 / 3: one set meal
        {"有限", 12, "不限", QStringLiteral("有限"), 2},
        {"禁用", 12, "有限", QStringLiteral("禁用"), 0},
        {"不限", 12, "不限", QStringLiteral("不限"), 0},
    };
    buildSetMeal();
    for (const Case& c : cases) {
        db().exec("UPDATE itemlist SET item_limi = ?, item_coun = ? WHERE item_code = 'M001'",
                  {QString::fromUtf8(c.m001), c.m001Stock});
        db().exec("UPDATE itemlist SET item_limi = ? WHERE item_code = 'M002'", {QString::fromUtf8(c.m002)});
        select("8001");
        ASSERT_TRUE(openComponents(lists()));
        leaveComponents(lists());
        EXPECT_EQ(itemColumn("8001", "item_limi").toString(), c.rule) << c.m001 << "/" << c.m002;
        EXPECT_EQ(itemColumn("8001", "item_coun").toDouble(), c.stock) << c.m001 << "/" << c.m002;
        EXPECT_EQ(itemColumn("8001", "item_coun").toDouble(),
                  db().scalar("SELECT COALESCE(max(retotal), 0) FROM viewReTotal WHERE grou_code = '8001'")
                      .toDouble());
    }
}

TEST_P(ComponentsTest, ThePriceFromComponentsCountsEachDirectComponentByItsQuantity) {
    buildSetMeal();
    select("8001");
    const ComponentSums sums = componentSums(lists());
    EXPECT_EQ(sums.price, 3 * 18 + 1 * 8.0);
    EXPECT_EQ(sums.cost, 5.0); // the composite has no cost of its own
    lists().items().assign("item_dedu_pric", 2);
    ASSERT_TRUE(applyComponentSums(lists(), sums));
    EXPECT_EQ(itemColumn("8001", "item_unit_pric").toDouble(), 62.0);
    EXPECT_TRUE(itemColumn("8001", "item_dedu_pric").isNull());
}

TEST_P(ComponentsTest, ChangingATypeClearsComponentsOnlyWhenTheManagerAgrees) {
    struct Case {
        const char* what;
        const char* before; // what else the menu holds
        const char* item;
        const char* chosen;
        QList<bool> answers;
        QString type; // afterwards, in the database
        QStringList messages;
        QStringList setMealRows; // of 8001 afterwards
    } cases[] = {
        {"a component cannot become a set meal",
         "",
         "2001",
         "2",
         {},
         "1",
         {kAlreadyAComponentMessage},
         {"2001×1", "7001×3", "M001×6 via 7001", "M002×3 via 7001"}},
        {"nor an ingredient of a composite a composite",
         "INSERT INTO ItemGroup (grou_code, item_code, grou_coun) VALUES ('7001', '2002', 1)",
         "2002",
         "3",
         {},
         "1",
         {kAlreadyAComponentMessage},
         {"2001×1", "7001×3", "M001×6 via 7001", "M002×3 via 7001"}},
        {"a set meal kept when the manager says no",
         "",
         "8001",
         "1",
         {false},
         "2",
         {kClearComponentsQuestion},
         {"2001×1", "7001×3", "M001×6 via 7001", "M002×3 via 7001"}},
        {"a single item in a set meal becomes a composite",
         "",
         "2001",
         "3",
         {},
         "3",
         {},
         {"2001×1", "7001×3", "M001×6 via 7001", "M002×3 via 7001"}},
        // It stays in the set meal as the single item it now is.
        {"a composite loses its own and what it brought",
         "",
         "7001",
         "1",
         {true},
         "1",
         {kClearComponentsQuestion},
         {"2001×1", "7001×3"}},
        {"a set meal becomes a single item without components",
         "",
         "8001",
         "1",
         {true},
         "1",
         {kClearComponentsQuestion},
         {}},
    };
    for (const Case& c : cases) {
        db().exec("DELETE FROM ItemGroup");
        db().exec(
            "UPDATE itemlist SET item_type_code = CASE item_code WHEN '8001' THEN '2' WHEN '7001' THEN '3' "
            "WHEN 'M001' THEN '4' WHEN 'M002' THEN '4' ELSE '1' END");
        reopen();
        buildSetMeal();
        if (*c.before) db().exec(QString::fromUtf8(c.before));
        sink.shown.clear();
        sink.answers = c.answers;
        select(QString::fromUtf8(c.item));
        chooseType(lists(), QString::fromUtf8(c.chosen));
        lists().items().saveIfPending();
        EXPECT_EQ(itemColumn(QString::fromUtf8(c.item), "item_type_code").toString(), c.type) << c.what;
        EXPECT_EQ(shown(), c.messages) << c.what;
        EXPECT_EQ(componentRows("8001"), c.setMealRows) << c.what;
    }
    // The set meal's end left the composite as it was.
    EXPECT_EQ(componentRows("7001"), (QStringList{"M001×2", "M002×1"}));
}

TEST_P(ComponentsTest, AFailedRecomputationLeavesTheMenuAsItWas) {
    struct Case {
        const char* item;
        std::function<void(ConsumptionLists&)> step;
        QString code;
        QList<bool> answers;
    } cases[] = {
        {"8001", [](ConsumptionLists& l) { leaveComponents(l); }, "A100006", {}},
        {"7001", [](ConsumptionLists& l) { leaveComponents(l); }, "A100007", {}},
        {"2001", [](ConsumptionLists& l) { chooseType(l, "3"); }, "A100009", {}},
        {"7001", [](ConsumptionLists& l) { chooseType(l, "1"); }, "A100010", {true}},
        {"8001", [](ConsumptionLists& l) { chooseType(l, "3"); }, "A100011", {true}},
    };
    buildSetMeal();
    const QStringList before = menuState();
    // StoreChange, the last step of each, cannot read the stock view.
    db().exec("DROP VIEW viewReTotal");
    for (const Case& c : cases) {
        sink.answers = c.answers;
        select(QString::fromUtf8(c.item));
        if (holdsComponents(lists().items().text("item_type_code"))) {
            ASSERT_TRUE(openComponents(lists()));
            lists().components().edit("grou_coun", "5");
        }
        try {
            c.step(lists());
            ADD_FAILURE() << c.code.toStdString() << " went through";
        } catch (const CodedFailure& failure) {
            EXPECT_EQ(failure.code(), c.code);
        }
        EXPECT_EQ(menuState(), before) << c.code.toStdString();
        reopen();
    }
}

TEST_P(ComponentsTest, CandidatesAreFoundByCodeOrShortCode) {
    db().exec("UPDATE itemlist SET item_shor = 'hsp' WHERE item_code = '2002'");
    struct Case {
        const char* parent;
        const char* typed;
        QStringList found;
    } cases[] = {
        {"8001", "", {"2001", "2002", "7001"}},         // a set meal: single items and composites
        {"7001", "", {"2001", "2002", "M001", "M002"}}, // a composite: single items and ingredients
        {"7001", " M0 ", {"M001", "M002"}},
        {"7001", "hs", {"2002"}},
        {"7001", "x", {}},
    };
    for (const Case& c : cases) {
        select(QString::fromUtf8(c.parent));
        const RecordSet found = matchingCandidates(componentCandidates(lists()), QString::fromUtf8(c.typed));
        QStringList codes;
        for (int i = 0; i < found.rowCount(); ++i)
            codes << found.text(i, "item_code");
        EXPECT_EQ(codes, c.found) << c.parent << "/" << c.typed;
    }
}

SORREL_ON_EVERY_ENGINE(ComponentsTest);

} // namespace
