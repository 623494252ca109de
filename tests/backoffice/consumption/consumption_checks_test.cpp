// The checks of the consumption setup as a manager meets them: what an item, kind, class, output
// point or scheme may not be saved, re-coded or deleted with, in which order the refusals come,
// and the cost that follows the price.
#include "tests/backoffice/consumption/consumption_fixture.h"

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::consumption;

namespace {

const QString kItemRequired = QStringLiteral("项目[编号]、[名称]、[单价]、[成本]、[类型]不能为空！");

class ConsumptionChecksTest : public test::ConsumptionTest {};

TEST_P(ConsumptionChecksTest, ANewItemIsRefusedByTheFirstCheckItFails) {
    struct Case {
        const char* code;
        const char* name;
        const char* type;
        const char* price;
        const char* cost;
        const char* commission;
        QString refusal; // empty: saved
    } cases[] = {
        {"", "炒饭", "1", "8", "", "", kItemRequired},
        {"3001", " ", "1", "8", "", "", kItemRequired},
        {"3001", "炒饭", "1", "0", "", "", kItemRequired}, // not a price message
        {"3001", "炒饭", "1", "", "", "", kItemRequired},
        {"3001", "炒饭", "", "8", "", "", kItemRequired},
        {"", "炒饭", "1", "8", "10", "", kItemRequired}, // blanks before amounts
        {"3001", "炒饭", "1", "8", "10", "", QStringLiteral("[成本]不能大于[单价]！")},
        {"3001", "炒饭", "1", "8", "5", "4", QStringLiteral("[提成]不能大于利润！")},
        {"3001", "炒饭", "1", "8", "5", "3", {}},
    };
    select("2001"); // a class without a cost rate
    for (const Case& c : cases) {
        sink.shown.clear();
        MaintenanceList& items = lists().items();
        ASSERT_TRUE(items.append());
        items.edit("item_code", QString::fromUtf8(c.code));
        items.edit("item_name", QString::fromUtf8(c.name));
        items.edit("item_type_code", QString::fromUtf8(c.type));
        items.edit("item_unit_pric", QString::fromUtf8(c.price));
        items.edit("item_cost_pric", QString::fromUtf8(c.cost));
        items.edit("item_dedu_pric", QString::fromUtf8(c.commission));
        const bool saved = items.save();
        EXPECT_EQ(saved, c.refusal.isEmpty())
            << c.code << "/" << c.price << "/" << c.cost << "/" << c.commission;
        EXPECT_EQ(shown(), c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal});
        if (!saved) {
            EXPECT_EQ(items.state(), MaintenanceList::State::Inserting); // still being entered
            items.cancel();
        }
    }
    EXPECT_EQ(db().scalar("SELECT count(*) FROM itemlist WHERE item_code = '3001'").toInt(), 1);
    EXPECT_EQ(itemColumn("3001", "item_limi").toString(), QStringLiteral("不限"));
    EXPECT_EQ(itemColumn("3001", "clas_code").toString(), QStringLiteral("102"));
}

// A name set by a step that has no field (an import, a script) is stored as a keyboard types it:
// no control characters, and a cut at the column's twenty characters never halves one.
TEST_P(ConsumptionChecksTest, ANameSetWithoutAFieldIsStoredAsAKeyboardTypesIt) {
    const QString emoji = QStringLiteral("😀");
    const struct {
        QString set;
        QString stored;
    } cases[] = {
        {QStringLiteral("Zap") + QChar(0) + QStringLiteral("Dish"), QStringLiteral("ZapDish")},
        {QStringLiteral("\x1b[2J\a\x01"
                        "Bel\x7f") +
             QChar(0x85) + QChar(0x202e) + QStringLiteral("名"),
         QStringLiteral("[2JBel名")},
        {QStringLiteral("a\tb\nc"), QStringLiteral("a b c")},
        {QString(19, QChar(0x957f)) + emoji + QStringLiteral("x"), QString(19, QChar(0x957f)) + emoji},
    };
    for (const auto& c : cases) {
        select("2001");
        ASSERT_TRUE(lists().items().edit("item_name", c.set));
        lists().items().save();
        EXPECT_EQ(itemColumn("2001", "item_name").toString(), c.stored) << c.stored.toStdString();
    }
    EXPECT_EQ(shown(), QStringList());
}

TEST_P(ConsumptionChecksTest, AnItemInUseKeepsItsCodeAndStaysButMayBeRenamed) {
    struct Case {
        const char* use;
        QString change;
        QString remove;
    } cases[] = {
        {"INSERT INTO TableConsList (tabl_gues_auto_recn, item_code, tabl_cons_coun) VALUES (7, '2001', 1)",
         QStringLiteral("此[项目]现在正在被[前台操作]使用，不能被修改!"),
         QStringLiteral("此[项目]现在正在被[前台操作]使用，不能被删除!")},
        {"INSERT INTO TableConsListTemp (tabl_gues_auto_recn, item_code, tabl_cons_coun) VALUES (7, '2001', "
         "1)",
         QStringLiteral("此[项目]现在正在被[前台操作]使用，不能被修改!"),
         QStringLiteral("此[项目]现在正在被[前台操作]使用，不能被删除!")},
        {"INSERT INTO StoreDetail (stor_bill_ID, item_code, item_coun) VALUES (3, '2001', 5)",
         QStringLiteral("此[项目]在未过帐的[库存单据]中，不能被修改!"),
         QStringLiteral("此[项目]在未过帐的[库存单据]中，不能被删除!")},
        {"INSERT INTO ItemGroup (grou_code, item_code, grou_coun) VALUES ('9001', '2001', 1)",
         QStringLiteral("此[项目]包含在套餐/合成中，不能被修改!"),
         QStringLiteral("此[项目]包含在套餐/合成中，不能被删除!")},
        {"INSERT INTO ItemGroup (grou_code, item_code, grou_coun) VALUES ('2001', 'M001', 1)",
         QStringLiteral("[套餐/合成]中下设置有项目，不能被修改!"),
         QStringLiteral("[套餐/合成]中下设置有项目，不能被删除!")},
    };
    for (const Case& c : cases) {
        select("2001");
        // Another workstation starts using the item after the list was read.
        auto desk = scratch().connectAgain();
        desk->exec(QString::fromUtf8(c.use));
        sink.shown.clear();
        MaintenanceList& items = lists().items();
        items.edit("item_code", QStringLiteral("2002"));
        EXPECT_FALSE(items.save()) << c.use;
        items.cancel();
        items.edit("item_name", QStringLiteral("凉拌黄瓜"));
        EXPECT_TRUE(items.save()) << c.use;
        EXPECT_FALSE(items.remove()) << c.use;
        EXPECT_EQ(shown(), (QStringList{c.change, c.remove}));
        EXPECT_EQ(itemColumn("2001", "item_name").toString(), QStringLiteral("凉拌黄瓜"));
        for (const char* table : {"TableConsList", "TableConsListTemp", "StoreDetail", "ItemGroup"})
            desk->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    }
    // Free again: re-coded, then deleted.
    select("2001");
    lists().items().edit("item_code", QStringLiteral("2002"));
    EXPECT_TRUE(lists().items().save());
    EXPECT_TRUE(lists().items().remove());
    EXPECT_EQ(db().scalar("SELECT count(*) FROM itemlist WHERE item_code IN ('2001', '2002')").toInt(), 0);
}

TEST_P(ConsumptionChecksTest, PresetsAndRecordsWithChildrenKeepTheirCodesAndStay) {
    db().exec("INSERT INTO discountlist (disc_code, disc_name, disc_rema) VALUES ('01', '会员九折', ' ')");
    db().exec("INSERT INTO DiscItem (disc_code, clas_code, disc_clas_perc) VALUES ('01', '101', 90)");
    db().exec(
        "INSERT INTO classlist (kind_code, clas_code, clas_name, manu_code) VALUES ('1', '103', '汤', '2')");
    db().exec("INSERT INTO ManuFacturelist (manu_code, manu_name, manu_rema) VALUES ('2', '厨房', ' '), "
              "('3', '水吧', ' ')");
    reopen();
    struct Case {
        const char* what;
        const char* before; // what the venue holds at that point
        std::function<MaintenanceList&()> list;
        const char* key;
        const char* codeColumn;
        const char* nameColumn;
        QString change; // empty: the code may change
        QString changeTitle;
        QString remove;
    } cases[] = {
        {"kind with classes", "", [&]() -> MaintenanceList& { return lists().kinds(); }, "1", "kind_code",
         "kind_name", QStringLiteral("[大类]下面设有[分类]，所以不能被修改！"),
         QStringLiteral("岚舟招牌管理系列"), QStringLiteral("[大类]下面设有[分类]，所以不能被删除！")},
        {"output point 1", "", [&]() -> MaintenanceList& { return lists().outputPoints(); }, "1", "manu_code",
         "manu_name", QStringLiteral("[吧台]为系统预设项目，所以不能被修改！"),
         QStringLiteral("岚舟管理系列"), QStringLiteral("[出品类型]正在被设置使用，所以不能被删除！")},
        {"output point used", "", [&]() -> MaintenanceList& { return lists().outputPoints(); }, "2",
         "manu_code", "manu_name", QStringLiteral("[出品类型]正在被设置使用，所以不能被修改！"), QString(),
         QStringLiteral("[出品类型]正在被设置使用，所以不能被删除！")},
        {"class with items", "", [&]() -> MaintenanceList& { return lists().classes(); }, "102", "clas_code",
         "clas_name", QStringLiteral("[分类]下面设有[项目]，所以不能被修改！"),
         QStringLiteral("岚舟管理系列"), QStringLiteral("[分类]下面设有[项目]，所以不能被删除！")},
        {"class with rates", "", [&]() -> MaintenanceList& { return lists().classes(); }, "101", "clas_code",
         "clas_name", QStringLiteral("[折扣方案]中包含此[分类]，不能被修改!"), QString(),
         QStringLiteral("[折扣方案]中包含此[分类]，不能被删除!")},
        {"scheme with rates", "", [&]() -> MaintenanceList& { return lists().schemes(); }, "01", "disc_code",
         "disc_name", QStringLiteral("[折扣方案]中下设置有项目，不能被修改!"), QString(),
         QStringLiteral("[折扣方案]中下设置有项目，不能被删除!")},
        // The ingredient kind once it is empty: still a preset.
        {"kind M",
         "DELETE FROM itemlist WHERE clas_code = 'M01'; DELETE FROM classlist WHERE clas_code = 'M01'",
         [&]() -> MaintenanceList& { return lists().kinds(); }, "M", "kind_code", "kind_name",
         QStringLiteral("[原料]为系统预设项目，所以不能被修改！"), QStringLiteral("岚舟管理系列"),
         QStringLiteral("[新名称]为系统预设项目，所以不能被删除！")}, // its new name
    };
    for (const Case& c : cases) {
        if (*c.before) {
            for (const QString& statement : QString::fromUtf8(c.before).split(QStringLiteral("; ")))
                db().exec(statement);
            reopen();
        }
        MaintenanceList& list = c.list();
        ASSERT_TRUE(list.moveToKey(QString::fromUtf8(c.key))) << c.what;
        sink.shown.clear();
        // Guards refuse as the code is typed; save checks when it is saved. Either way the code stays.
        if (list.edit(c.codeColumn, QStringLiteral("9"))) {
            EXPECT_FALSE(list.save()) << c.what;
        }
        list.cancel();
        list.edit(c.nameColumn, QStringLiteral("新名称"));
        EXPECT_TRUE(list.save()) << c.what;
        EXPECT_FALSE(list.remove()) << c.what;
        ASSERT_EQ(sink.shown.size(), 2) << c.what;
        EXPECT_EQ(sink.shown[0].text, c.change) << c.what;
        EXPECT_EQ(sink.shown[0].title, c.changeTitle.isEmpty() ? messages::title() : c.changeTitle) << c.what;
        EXPECT_EQ(sink.shown[1].text, c.remove) << c.what;
        EXPECT_EQ(
            db().scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                            .arg(QLatin1String(c.nameColumn), list.table(), QLatin1String(c.codeColumn)),
                        {QString::fromUtf8(c.key)})
                .toString(),
            QStringLiteral("新名称"))
            << c.what;
    }
    // An output point nobody uses may be re-coded and deleted.
    MaintenanceList& points = lists().outputPoints();
    ASSERT_TRUE(points.moveToKey(QStringLiteral("3")));
    points.edit("manu_code", QStringLiteral("4"));
    EXPECT_TRUE(points.save());
    EXPECT_TRUE(points.remove());
}

TEST_P(ConsumptionChecksTest, BlankFieldsAndRatesAboveAHundredAreRefused) {
    struct Case {
        std::function<MaintenanceList&()> list;
        QVariantMap values;
        QString refusal;
    } cases[] = {
        {[&]() -> MaintenanceList& { return lists().kinds(); },
         {{"kind_code", "2"}},
         QStringLiteral("大类[编码]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().outputPoints(); },
         {{"manu_name", "厨房"}},
         QStringLiteral("出品类型[编码]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().classes(); },
         {{"clas_code", "105"}},
         QStringLiteral("分类[编码]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().classes(); },
         {{"clas_code", "105"}, {"clas_name", "主食"}, {"clas_cost_perc", "101"}},
         QStringLiteral("默认成本率不能大于100%！")},
        {[&]() -> MaintenanceList& { return lists().schemes(); },
         {{"disc_name", "八折"}},
         QStringLiteral("折扣方案[编码]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().kinds(); },
         {{"kind_code", "1"}, {"kind_name", "又一个"}},
         QStringLiteral("编号有重复，请从新输入！")},
    };
    for (const Case& c : cases) {
        sink.shown.clear();
        MaintenanceList& list = c.list();
        const int before = db().scalar(QStringLiteral("SELECT count(*) FROM ") + list.table()).toInt();
        ASSERT_TRUE(list.append());
        for (auto it = c.values.begin(); it != c.values.end(); ++it)
            list.edit(it.key(), it.value());
        EXPECT_FALSE(list.save());
        EXPECT_EQ(shown(), QStringList{c.refusal});
        list.cancel();
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM ") + list.table()).toInt(), before);
    }

    // A rate of a scheme: at most 100, never blank.
    db().exec("INSERT INTO discountlist (disc_code, disc_name, disc_rema) VALUES ('01', '会员九折', ' ')");
    reopen();
    ASSERT_TRUE(lists().schemes().moveToKey(QStringLiteral("01")));
    db().exec("INSERT INTO DiscItem (disc_code, clas_code, disc_clas_perc) VALUES ('01', '101', 90)");
    lists().rates().reload();
    for (const char* rate : {"120", ""}) {
        sink.shown.clear();
        lists().rates().edit("disc_clas_perc", QString::fromUtf8(rate));
        EXPECT_FALSE(lists().rates().save());
        EXPECT_EQ(shown(), QStringList{*rate ? QStringLiteral("折扣率不能大于100%！")
                                             : QStringLiteral("折扣率不能为空！")});
        lists().rates().cancel();
    }
    EXPECT_EQ(db().scalar("SELECT disc_clas_perc FROM DiscItem").toInt(), 90);
}

TEST_P(ConsumptionChecksTest, OnlyARealDuplicateCodeIsCalledADuplicate) {
    MaintenanceList& items = lists().items();
    select("2001");
    ASSERT_TRUE(items.append());
    items.edit("item_code", QStringLiteral("2001"));
    items.edit("item_name", QStringLiteral("重复"));
    items.edit("item_unit_pric", QStringLiteral("6"));
    EXPECT_FALSE(items.save());
    EXPECT_EQ(shown(), QStringList{QStringLiteral("编号有重复，请从新输入！")});
    // A name too long for its column is no duplicate either: the edit keeps what the column
    // holds and the item saves.
    sink.shown.clear();
    items.edit("item_code", QStringLiteral("2003"));
    items.edit("item_name", QString(21, QChar(u'菜')));
    EXPECT_TRUE(items.save());
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(db().scalar("SELECT item_name FROM itemlist WHERE item_code = '2003'").toString(),
              QString(20, QChar(u'菜')));
}

TEST_P(ConsumptionChecksTest, TheCostFollowsThePriceByTheClassRate) {
    addItem("101", "1001", "1", 20, 8);
    reopen();
    struct Case {
        const char* item;
        const char* price;
        QVariant cost;
    } cases[] = {
        {"1001", "25", 10.0},     // class rate 40 %
        {"1001", "", QVariant()}, // price cleared: cost cleared
        {"1001", "12.5", 5.0},
        {"2001", "30", 5.0}, // class without a rate: the cost stays
    };
    for (const Case& c : cases) {
        select(QString::fromUtf8(c.item));
        lists().items().edit("item_unit_pric", QString::fromUtf8(c.price));
        EXPECT_EQ(lists().items().value("item_cost_pric"), c.cost) << c.item << "/" << c.price;
        lists().items().cancel();
    }
}

TEST_P(ConsumptionChecksTest, ASaveWritesOnlyWhatChangedAndNeverOverAnotherWorkstation) {
    addItem("101", "1001", "1", 20, 8, "有限", 10);
    reopen();
    select("1001");
    auto desk = scratch().connectAgain();
    // A front desk sells two while the manager renames the item.
    desk->exec("UPDATE itemlist SET item_coun = item_coun - 2 WHERE item_code = '1001'");
    lists().items().edit("item_name", QStringLiteral("红烧肉"));
    ASSERT_TRUE(lists().items().save());
    EXPECT_EQ(itemColumn("1001", "item_coun").toDouble(), 8.0);
    EXPECT_EQ(lists().items().value("item_coun").toDouble(), 8.0);

    struct Case {
        const char* elsewhere;
        QString message;
    } cases[] = {
        {"UPDATE itemlist SET item_name = '东坡肉' WHERE item_code = '1001'", kRecordChangedMessage},
        {"DELETE FROM itemlist WHERE item_code = '1001'", kRecordGoneMessage},
    };
    for (const Case& c : cases) {
        sink.shown.clear();
        desk->exec(QString::fromUtf8(c.elsewhere));
        lists().items().edit("item_name", QStringLiteral("回锅肉"));
        EXPECT_FALSE(lists().items().save()) << c.elsewhere;
        EXPECT_EQ(shown(), QStringList{c.message});
        // The list shows the database as it now is.
        EXPECT_FALSE(lists().items().hasPending());
        EXPECT_EQ(db().scalar("SELECT count(*) FROM itemlist WHERE item_name = '回锅肉'").toInt(), 0);
    }
    EXPECT_EQ(lists().items().rows().locate({{"item_code", "1001"}}), -1);
}

SORREL_ON_EVERY_ENGINE(ConsumptionChecksTest);

} // namespace
