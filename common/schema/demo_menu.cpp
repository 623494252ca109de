// The demo venue's menu: kinds, classes, items with every stock rule, set meals and composites
// with their component rows, the kitchen output point, discount schemes, units and notes.
#include "common/schema/demo_venue.h"
#include "common/schema/row_insert.h"

namespace sorrel::demo {

namespace {

using schema::insertRows;

void writeKindsAndClasses(Database& db) {
    insertRows(db, "ManuFacturelist", {"manu_code", "manu_name", "manu_rema"}, {{"2", "厨房", " "}});
    insertRows(db, "kindlist", {"kind_code", "kind_name", "kind_rema"},
               {{"1", "中餐", " "}, {"2", "酒水", " "}, {"3", "娱乐服务", " "}, {"4", "套餐", " "}});
    // Seafood takes no discount, spirits bear no service charge, cigarettes and the karaoke
    // services are special consumption (their own bill total, outside the minimum charge).
    insertRows(db, "classlist",
               {"kind_code", "clas_code", "clas_name", "clas_allo_disc", "clas_allo_serv", "clas_allo_spec",
                "clas_cost_perc", "manu_code"},
               {
                   {"1", "101", "凉菜", 1, 1, 0, 35, "2"},
                   {"1", "102", "热菜", 1, 1, 0, 40, "2"},
                   {"1", "103", "海鲜", 0, 1, 0, 50, "2"},
                   {"1", "104", "主食点心", 1, 1, 0, 30, "2"},
                   {"2", "201", "酒类", 1, 0, 0, 60, "1"},
                   {"2", "202", "饮料", 1, 1, 0, 35, "1"},
                   {"2", "203", "茶水", 1, 1, 0, 20, "1"},
                   {"3", "301", "香烟", 0, 0, 1, 80, "1"},
                   {"3", "302", "KTV服务", 1, 1, 1, 35, "1"},
                   {"4", "401", "套餐", 1, 1, 0, 40, "2"},
                   {"M", "M01", "肉禽水产", 0, 0, 0, 0, "2"},
                   {"M", "M02", "调料蔬菜", 0, 0, 0, 0, "2"},
               });
}

void writeItems(Database& db) {
    insertRows(db, "UnitList", {"unit_name", "unit_rema"},
               {{"份", " "},
                {"条", " "},
                {"只", " "},
                {"瓶", " "},
                {"听", " "},
                {"扎", " "},
                {"壶", " "},
                {"包", " "},
                {"笼", " "},
                {"碗", " "},
                {"斤", " "},
                {"套", " "},
                {"小时", " "}});
    // Set meals and composites carry the stock rule and stock their components give them
    // (the back office re-derives both whenever a component changes).
    insertRows(db, "itemlist",
               {"clas_code", "item_code", "item_name", "item_unit", "item_shor", "item_real",
                "item_type_code", "item_unit_pric", "item_cost_pric", "item_dedu_pric", "item_coun",
                "item_limi"},
               {
                   {"101", "101001", "拍黄瓜", "份", "phg", 0, "1", 18.0, 6.0, 1.0, 0.0, "不限"},
                   {"101", "101002", "夫妻肺片", "份", "fqfp", 0, "1", 38.0, 15.0, 2.0, 0.0, "不限"},
                   {"101", "101003", "皮蛋豆腐", "份", "pddf", 0, "1", 22.0, 8.0, 1.0, 0.0, "不限"},
                   {"102", "102001", "宫保鸡丁", "份", "gbjd", 0, "1", 48.0, 18.0, 3.0, 0.0, "不限"},
                   {"102", "102002", "鱼香肉丝", "份", "yxrs", 0, "1", 42.0, 16.0, 2.0, 0.0, "不限"},
                   {"102", "102003", "麻婆豆腐", "份", "mpdf", 0, "1", 28.0, 9.0, 1.0, 0.0, "不限"},
                   {"102", "102004", "红烧肉", "份", "hsr", 0, "3", 58.0, 20.0, 3.0, 40.0, "有限"},
                   {"102", "102005", "水煮鱼", "份", "szy", 0, "3", 78.0, 30.0, 4.0, 15.0, "有限"},
                   {"103", "103001", "清蒸鲈鱼", "条", "qzly", 0, "1", 88.0, 40.0, 5.0, 12.0, "有限"},
                   {"103", "103002", "白灼基围虾", "份", "bzjwx", 0, "1", 98.0, 45.0, 5.0, 20.0, "有限"},
                   {"103", "103003", "波士顿龙虾", "只", "bsdlx", 1, "1", 388.0, 220.0, 10.0, 0.0, "禁用"},
                   {"104", "104001", "扬州炒饭", "份", "yzcf", 0, "1", 22.0, 7.0, 1.0, 0.0, "不限"},
                   {"104", "104002", "小笼包", "笼", "xlb", 0, "1", 18.0, 6.0, 1.0, 0.0, "不限"},
                   {"104", "104003", "米饭", "碗", "mf", 0, "1", 2.0, 0.5, 0.0, 0.0, "不限"},
                   {"201", "201001", "青岛啤酒", "瓶", "qdpj", 0, "1", 12.0, 5.0, 0.5, 240.0, "有限"},
                   {"201", "201002", "五粮液", "瓶", "wly", 0, "1", 1288.0, 900.0, 20.0, 6.0, "有限"},
                   {"201", "201003", "长城干红", "瓶", "ccgh", 0, "1", 168.0, 80.0, 5.0, 24.0, "有限"},
                   {"202", "202001", "可口可乐", "听", "kkkl", 0, "1", 8.0, 3.0, 0.0, 120.0, "有限"},
                   {"202", "202002", "鲜榨橙汁", "扎", "xzcz", 0, "1", 38.0, 12.0, 2.0, 0.0, "不限"},
                   {"202", "202003", "王老吉", "听", "wlj", 0, "1", 8.0, 3.5, 0.0, 96.0, "有限"},
                   {"203", "203001", "西湖龙井", "壶", "xhlj", 0, "1", 68.0, 15.0, 3.0, 0.0, "不限"},
                   {"203", "203002", "普洱茶", "壶", "pec", 0, "1", 58.0, 12.0, 3.0, 0.0, "不限"},
                   {"203", "203003", "菊花茶", "壶", "jhc", 0, "1", 38.0, 6.0, 1.0, 0.0, "禁用"},
                   {"301", "301001", "中华香烟", "包", "zhxy", 0, "1", 80.0, 65.0, 0.0, 50.0, "有限"},
                   {"301", "301002", "芙蓉王", "包", "frw", 0, "1", 30.0, 24.0, 0.0, 40.0, "有限"},
                   {"302", "302001", "水果拼盘", "份", "sgpp", 0, "1", 68.0, 25.0, 5.0, 0.0, "不限"},
                   {"302", "302002", "KTV小食拼盘", "份", "xspp", 0, "1", 48.0, 18.0, 3.0, 0.0, "不限"},
                   {"302", "302003", "加时服务", "小时", "jsfw", 1, "1", 50.0, 0.0, 5.0, 0.0, "不限"},
                   {"401", "401001", "商务套餐A", "套", "swtca", 0, "2", 168.0, 60.0, 8.0, 40.0, "有限"},
                   {"401", "401002", "KTV欢唱套餐", "套", "hctc", 0, "2", 388.0, 120.0, 20.0, 20.0, "有限"},
                   {"401", "401003", "海鲜尊享套餐", "套", "hxzxtc", 0, "2", 588.0, 300.0, 20.0, 0.0, "禁用"},
                   {"M01", "M001", "五花肉", "斤", "whr", 0, "4", 16.0, 14.0, 0.0, 20.0, "有限"},
                   {"M01", "M004", "草鱼", "条", "cy", 0, "4", 20.0, 18.0, 0.0, 15.0, "有限"},
                   {"M02", "M002", "冰糖", "斤", "bt", 0, "4", 8.0, 6.0, 0.0, 5.0, "有限"},
                   {"M02", "M003", "葱姜", "斤", "cj", 0, "4", 6.0, 5.0, 0.0, 0.0, "不限"},
               });
}

// Components. The business set meal contains the braised-pork composite, so the composite's
// ingredients are also listed under the set meal (quantity per set = composite quantity x
// ingredient quantity, grou_mix_* naming the composite); those rows count only for stock.
void writeComponents(Database& db) {
    const QVariant direct;
    insertRows(db, "ItemGroup", {"grou_code", "item_code", "grou_coun", "grou_mix_code", "grou_mix_coun"},
               {
                   {"102004", "M001", 0.5, direct, 0.0},
                   {"102004", "M002", 0.05, direct, 0.0},
                   {"102004", "M003", 0.1, direct, 0.0},
                   {"102005", "M004", 1.0, direct, 0.0},
                   {"102005", "M003", 0.2, direct, 0.0},
                   {"401001", "102001", 1.0, direct, 0.0},
                   {"401001", "102004", 1.0, direct, 0.0},
                   {"401001", "104003", 2.0, direct, 0.0},
                   {"401001", "202001", 2.0, direct, 0.0},
                   {"401001", "M001", 0.5, "102004", 0.5},
                   {"401001", "M002", 0.05, "102004", 0.05},
                   {"401001", "M003", 0.1, "102004", 0.1},
                   {"401002", "201001", 12.0, direct, 0.0},
                   {"401002", "302001", 1.0, direct, 0.0},
                   {"401002", "302002", 1.0, direct, 0.0},
                   {"401003", "103003", 1.0, direct, 0.0},
                   {"401003", "103002", 2.0, direct, 0.0},
                   {"401003", "104001", 2.0, direct, 0.0},
               });
}

void writeDiscountsAndNotes(Database& db) {
    insertRows(db, "discountlist", {"disc_code", "disc_name", "disc_narr", "disc_rema"},
               {{"01", "九折优惠", "菜品饮料九折", " "},
                {"02", "会员八八折", "会员专享，酒类九五折", " "},
                {"03", "酒水八折", "酒类饮料八折", " "}});
    insertRows(db, "DiscItem", {"disc_code", "clas_code", "disc_clas_perc"},
               {{"01", "101", 90},
                {"01", "102", 90},
                {"01", "104", 90},
                {"01", "202", 90},
                {"01", "203", 90},
                {"02", "101", 88},
                {"02", "102", 88},
                {"02", "104", 88},
                {"02", "201", 95},
                {"02", "202", 88},
                {"03", "201", 80},
                {"03", "202", 80}});
    insertRows(db, "ConsNarrList", {"cons_narr_code", "cons_narr_name", "cons_narr_rema"},
               {{"01", "少辣", " "},
                {"02", "加辣", " "},
                {"03", "不要香菜", " "},
                {"04", "打包", " "},
                {"05", "快上", " "}});
}

} // namespace

void writeMenu(Database& db) {
    writeKindsAndClasses(db);
    writeItems(db);
    writeComponents(db);
    writeDiscountsAndNotes(db);
}

} // namespace sorrel::demo
