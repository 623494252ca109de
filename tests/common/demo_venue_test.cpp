// The demo venue must be a venue the programs can actually work: every code it refers to
// exists, every consumption type can be tried at some table, set meals and composites carry
// the stock their components give them, and the demo logins behave as the README says.
#include "common/schema/demo_venue.h"
#include "tests/support/test_database.h"

#include <QTime>

using namespace sorrel;

namespace {

class DemoVenueTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        scratch_ =
            std::make_unique<test::ScratchDatabase>(GetParam(), test::ScratchDatabase::Contents::DemoVenue);
    }
    Database& db() { return scratch_->db(); }
    int count(const QString& sql, const QVariantList& params = {}) {
        return db().scalar(sql, params).toInt();
    }

  private:
    std::unique_ptr<test::ScratchDatabase> scratch_;
};

TEST_P(DemoVenueTest, EveryCodeItRefersToExists) {
    // Rows whose reference finds nothing: a table without its type, an item in no class, …
    const struct {
        const char* what;
        const char* sql;
    } references[] = {
        {"table type", "SELECT count(*) FROM TableList t WHERE NOT EXISTS "
                       "(SELECT 1 FROM TableTypeList y WHERE y.tabl_type_code = t.tabl_type_code)"},
        {"department", "SELECT count(*) FROM TableList t WHERE NOT EXISTS "
                       "(SELECT 1 FROM DepartmentList d WHERE d.dept_code = t.dept_code)"},
        {"mode of type", "SELECT count(*) FROM TableTypeList y WHERE NOT EXISTS "
                         "(SELECT 1 FROM ConsModeList m WHERE m.cons_mode_code = y.cons_mode_code)"},
        {"type of mode", "SELECT count(*) FROM ConsModeList m WHERE NOT EXISTS "
                         "(SELECT 1 FROM ConsTypeList c WHERE c.cons_type_code = m.cons_type_code)"},
        {"kind", "SELECT count(*) FROM classlist c WHERE NOT EXISTS "
                 "(SELECT 1 FROM kindlist k WHERE k.kind_code = c.kind_code)"},
        {"output point", "SELECT count(*) FROM classlist c WHERE NOT EXISTS "
                         "(SELECT 1 FROM ManuFacturelist p WHERE p.manu_code = c.manu_code)"},
        {"class", "SELECT count(*) FROM itemlist i WHERE NOT EXISTS "
                  "(SELECT 1 FROM classlist c WHERE c.clas_code = i.clas_code)"},
        {"unit", "SELECT count(*) FROM itemlist i WHERE NOT EXISTS "
                 "(SELECT 1 FROM UnitList u WHERE u.unit_name = i.item_unit)"},
        {"item type", "SELECT count(*) FROM itemlist i WHERE NOT EXISTS "
                      "(SELECT 1 FROM ItemTypeList t WHERE t.item_type_code = i.item_type_code)"},
        {"component", "SELECT count(*) FROM ItemGroup g WHERE NOT EXISTS "
                      "(SELECT 1 FROM itemlist i WHERE i.item_code = g.item_code)"},
        {"parent", "SELECT count(*) FROM ItemGroup g WHERE NOT EXISTS (SELECT 1 FROM itemlist i WHERE "
                   "i.item_code = g.grou_code AND i.item_type_code IN ('2', '3'))"},
        {"scheme", "SELECT count(*) FROM DiscItem d WHERE NOT EXISTS "
                   "(SELECT 1 FROM discountlist s WHERE s.disc_code = d.disc_code)"},
        {"rated class", "SELECT count(*) FROM DiscItem d WHERE NOT EXISTS "
                        "(SELECT 1 FROM classlist c WHERE c.clas_code = d.clas_code)"},
        {"group", "SELECT count(*) FROM deduoperatorlist s WHERE NOT EXISTS "
                  "(SELECT 1 FROM Grouplist g WHERE g.grou_code = s.grou_code)"},
        {"area", "SELECT count(*) FROM Grouplist g WHERE NOT EXISTS "
                 "(SELECT 1 FROM AreaList a WHERE a.area_code = g.area_code)"},
        {"level", "SELECT count(*) FROM operatorlist o WHERE NOT EXISTS "
                  "(SELECT 1 FROM managertype m WHERE m.mana_code = o.mana_code)"},
        {"member type", "SELECT count(*) FROM MemberList m WHERE NOT EXISTS "
                        "(SELECT 1 FROM membType t WHERE t.memb_type_code = m.memb_type_code)"},
        {"partner type",
         "SELECT count(*) FROM WorkList w WHERE NOT EXISTS "
         "(SELECT 1 FROM StoreWorkType t WHERE t.stor_work_type_code = w.stor_work_type_code)"},
        {"band mode", "SELECT count(*) FROM ConsTimeMode b WHERE NOT EXISTS "
                      "(SELECT 1 FROM ConsModeList m WHERE m.cons_mode_code = b.cons_mode_code)"},
    };
    for (const auto& r : references)
        EXPECT_EQ(count(QString::fromUtf8(r.sql)), 0) << r.what;
}

TEST_P(DemoVenueTest, EveryConsumptionTypeCanBeTriedAtSomeTable) {
    for (const char* type : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A"})
        EXPECT_GE(count("SELECT count(*) FROM TableList t, TableTypeList y, ConsModeList m "
                        "WHERE y.tabl_type_code = t.tabl_type_code AND m.cons_mode_code = y.cons_mode_code "
                        "AND m.cons_type_code = ?",
                        {type}),
                  1)
            << "type " << type;
    const int tables = count("SELECT count(*) FROM TableList");
    EXPECT_GE(tables, 25);
    EXPECT_LE(tables, 40);
    EXPECT_EQ(count("SELECT count(*) FROM TableList WHERE tabl_stat_code <> '1'"), 0);
}

TEST_P(DemoVenueTest, TimeBandsCoverTheWholeDayBackToBack) {
    const RecordSet modes = db().query("SELECT cons_mode_code FROM ConsModeList WHERE cons_type_code = '9'");
    ASSERT_FALSE(modes.isEmpty());
    for (int m = 0; m < modes.rowCount(); ++m) {
        const RecordSet bands = db().query("SELECT cons_time_star, cons_time_end FROM ConsTimeMode "
                                           "WHERE cons_mode_code = ? ORDER BY cons_time_code",
                                           {modes.value(m, 0)});
        ASSERT_FALSE(bands.isEmpty());
        QTime expectedStart(0, 0, 0);
        for (int b = 0; b < bands.rowCount(); ++b) {
            EXPECT_EQ(bands.dateTime(b, "cons_time_star").time(), expectedStart) << "band " << b;
            const QTime end = bands.dateTime(b, "cons_time_end").time();
            EXPECT_GT(end, expectedStart);
            expectedStart = end.addSecs(1);
        }
        EXPECT_EQ(bands.dateTime(bands.rowCount() - 1, "cons_time_end").time(), QTime(23, 59, 59));
    }
}

TEST_P(DemoVenueTest, MenuHasEveryKindOfClassAndStockRule) {
    const struct {
        const char* what;
        const char* sql;
    } present[] = {
        {"special-consumption class", "SELECT count(*) FROM classlist WHERE clas_allo_spec = 1"},
        {"class without service",
         "SELECT count(*) FROM classlist WHERE clas_allo_serv = 0 AND kind_code <> 'M'"},
        {"class without discount",
         "SELECT count(*) FROM classlist WHERE clas_allo_disc = 0 AND kind_code <> 'M'"},
        {"kitchen classes", "SELECT count(*) FROM classlist WHERE manu_code = '2'"},
        {"unlimited item", "SELECT count(*) FROM itemlist WHERE item_type_code = '1' AND item_limi = '不限'"},
        {"limited item", "SELECT count(*) FROM itemlist WHERE item_type_code = '1' AND item_limi = '有限'"},
        {"disabled item", "SELECT count(*) FROM itemlist WHERE item_type_code = '1' AND item_limi = '禁用'"},
        {"open-price item", "SELECT count(*) FROM itemlist WHERE item_real = 1"},
        {"discount class rates", "SELECT count(*) FROM DiscItem"},
        {"item notes", "SELECT count(*) FROM ConsNarrList"},
        {"other income", "SELECT count(*) FROM OtherIncomeList"},
        {"partners", "SELECT count(*) FROM WorkList"},
        {"customer partner", "SELECT count(*) FROM WorkList WHERE stor_work_type_code = '02'"},
    };
    for (const auto& p : present)
        EXPECT_GE(count(QString::fromUtf8(p.sql)), 1) << p.what;
    EXPECT_EQ(count("SELECT count(*) FROM kindlist WHERE kind_code = 'M'"), 1);
    // Every ingredient is of kind M and type 4, and nothing else is of type 4.
    EXPECT_EQ(count("SELECT count(*) FROM itemlist i, classlist c WHERE c.clas_code = i.clas_code AND "
                    "((c.kind_code = 'M') <> (i.item_type_code = '4'))"),
              0);
    // Prices pass the back office's own checks: cost not above price, commission not above profit.
    EXPECT_EQ(
        count("SELECT count(*) FROM itemlist WHERE item_unit_pric <= 0 OR item_cost_pric > item_unit_pric "
              "OR item_dedu_pric > item_unit_pric - item_cost_pric"),
        0);
}

TEST_P(DemoVenueTest, SetMealIncludesACompositeWithItsDerivedIngredientRows) {
    // Every composite that sits in a set meal brings each of its ingredients along, with the
    // quantity per set = composite quantity x ingredient quantity.
    const RecordSet inner = db().query(
        "SELECT s.grou_code AS meal, s.item_code AS composite, s.grou_coun AS per_meal, "
        "c.item_code AS ingredient, c.grou_coun AS per_composite FROM ItemGroup s, ItemGroup c, itemlist m "
        "WHERE c.grou_code = s.item_code AND s.grou_mix_code IS NULL AND c.grou_mix_code IS NULL "
        "AND m.item_code = s.grou_code AND m.item_type_code = '2'");
    ASSERT_FALSE(inner.isEmpty()) << "no set meal contains a composite";
    for (int r = 0; r < inner.rowCount(); ++r) {
        const RecordSet derived =
            db().query("SELECT grou_coun, grou_mix_coun FROM ItemGroup WHERE grou_code = ? AND "
                       "item_code = ? AND grou_mix_code = ?",
                       {inner.value(r, "meal"), inner.value(r, "ingredient"), inner.value(r, "composite")});
        ASSERT_EQ(derived.rowCount(), 1) << inner.text(r, "ingredient").toStdString();
        EXPECT_NEAR(derived.number(0, "grou_coun"),
                    inner.number(r, "per_meal") * inner.number(r, "per_composite"), 1e-9);
        EXPECT_NEAR(derived.number(0, "grou_mix_coun"), inner.number(r, "per_composite"), 1e-9);
    }
    // A composite made only of ingredients.
    EXPECT_GE(
        count("SELECT count(*) FROM itemlist p WHERE p.item_type_code = '3' AND NOT EXISTS (SELECT 1 FROM "
              "ItemGroup g, itemlist i WHERE g.grou_code = p.item_code AND i.item_code = g.item_code AND "
              "i.item_type_code <> '4') AND EXISTS (SELECT 1 FROM ItemGroup g WHERE g.grou_code = "
              "p.item_code)"),
        1);
}

TEST_P(DemoVenueTest, SetMealsAndCompositesCarryTheStockTheirComponentsGive) {
    const RecordSet parents = db().query(
        "SELECT p.item_code, p.item_coun, p.item_limi, v.retotal FROM itemlist p LEFT JOIN viewReTotal v "
        "ON v.grou_code = p.item_code WHERE p.item_type_code IN ('2', '3') ORDER BY p.item_code");
    ASSERT_GE(parents.rowCount(), 4);
    for (int r = 0; r < parents.rowCount(); ++r) {
        const QString code = parents.text(r, "item_code");
        EXPECT_EQ(parents.number(r, "item_coun"), parents.number(r, "retotal")) << code.toStdString();
        // The stock rule derived from the components: disabled wins, then limited.
        const auto components = [&](const char* rule) {
            return count("SELECT count(*) FROM ItemGroup g, itemlist i WHERE g.grou_code = ? AND "
                         "i.item_code = g.item_code AND i.item_limi = ?",
                         {code, rule});
        };
        const QString expected = components("禁用") ? "禁用" : components("有限") ? "有限" : "不限";
        EXPECT_EQ(parents.text(r, "item_limi"), expected) << code.toStdString();
    }
    EXPECT_EQ(db().scalar("SELECT retotal FROM viewReTotal WHERE grou_code = '401001'").toInt(), 40);
    EXPECT_EQ(db().scalar("SELECT item_limi FROM itemlist WHERE item_code = '401003'").toString(), "禁用");
}

TEST_P(DemoVenueTest, PeopleCardsAndShifts) {
    EXPECT_EQ(db().scalar("SELECT oper_pass FROM operatorlist WHERE oper_code = '02'").toString(), "2222");
    const auto allowed = [&](const char* level, const char* function) {
        return count(
                   "SELECT count(*) FROM Limitedlist WHERE mana_code = ? AND limi_code = ? AND limi_real = 1",
                   {level, function}) == 1;
    };
    for (const char* denied : {"PS", "BE", "DA"})
        EXPECT_FALSE(allowed("02", denied)) << denied;
    for (const char* granted : {"DP", "BI", "DB", "AP", "GB", "CF"})
        EXPECT_TRUE(allowed("02", granted)) << granted;
    for (const char* function : {"PS", "BE", "DA", "SS"})
        EXPECT_TRUE(allowed("01", function)) << function;

    EXPECT_EQ(db().scalar("SELECT orde_name FROM OrderList WHERE orde_code = '1'").toString(), "早班");
    EXPECT_EQ(db().scalar("SELECT orde_name FROM OrderList WHERE orde_code = '2'").toString(), "晚班");
    EXPECT_EQ(count("SELECT count(*) FROM MemberList WHERE memb_card_type = '储值卡' AND memb_surp > 0"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM MemberList WHERE memb_card_type = '积分卡'"), 1);
    // Balances agree with the top-ups on record.
    EXPECT_EQ(
        count(
            "SELECT count(*) FROM MemberList m WHERE m.memb_surp + m.memb_use <> "
            "(SELECT COALESCE(sum(memb_mana_save), 0) FROM membManage t WHERE t.memb_card_code = "
            "m.memb_card_code) OR m.memb_stor <> m.memb_stor_temp + (SELECT COALESCE(sum(memb_mana_inte), 0) "
            "FROM membManage t WHERE t.memb_card_code = m.memb_card_code)"),
        0);
    EXPECT_EQ(count("SELECT count(*) FROM HangGues WHERE hang_gues_limi > 0"), 2);
    EXPECT_GE(count("SELECT count(DISTINCT area_code) FROM Grouplist"), 2);
    EXPECT_GE(count("SELECT count(*) FROM deduoperatorlist"), 4);
}

SORREL_ON_EVERY_ENGINE(DemoVenueTest);

} // namespace
