// The printed bill: its lines merged by item, price and unit with their net quantity, and the
// sections the bill layout switches on.
#include "frontdesk/checkout/bill_print.h"
#include "frontdesk/checkout/settle_step.h"
#include "tests/frontdesk/checkout/checkout_fixture.h"

using namespace sorrel;
using namespace sorrel::checkout;

namespace {

class BillLinesTest : public test::CheckoutTest {};

TEST_P(BillLinesTest, LinesMergeByItemAndPriceAndANetZeroIsNotPrinted) {
    const int bill = openTable(QStringLiteral("A01"));
    addLine(bill, QStringLiteral("102001"), 2, 48);
    addLine(bill, QStringLiteral("102001"), 2, 48, Returned);
    addLine(bill, QStringLiteral("202001"), 1, 8);
    addLine(bill, QStringLiteral("202001"), 1, 8);
    addLine(bill, QStringLiteral("101001"), 1, 18);
    addLine(bill, QStringLiteral("101001"), 1, 20); // the price changed in between
    addLine(bill, QStringLiteral("202003"), 1, 8, Given);
    QStringList printed;
    for (const BillPrintLine& l : loadBillPrintLines(db(), bill))
        printed << QStringLiteral("%1 %2 %3x%4=%5 gift %6")
                       .arg(l.kindName, l.itemName)
                       .arg(l.quantity)
                       .arg(l.unitPrice)
                       .arg(l.amount)
                       .arg(l.giftValue);
    EXPECT_EQ(printed, QStringList({"中餐 拍黄瓜 1x18=18 gift 0", "中餐 拍黄瓜 1x20=20 gift 0",
                                    "酒水 可口可乐 2x8=16 gift 0", "酒水 王老吉 1x8=0 gift 8"}));
}

SORREL_ON_EVERY_ENGINE(BillLinesTest);

// Every row of the document as its cells' texts joined by "|", empty cells left out.
QStringList rowsOf(const document::Document& doc) {
    QStringList rows;
    for (const document::Band& band : doc.bands)
        for (const document::Row& row : band.rows) {
            QStringList cells;
            for (const document::Cell& cell : row.cells)
                if (!cell.text.isEmpty()) cells << cell.text;
            rows << cells.join(QLatin1Char('|'));
        }
    return rows;
}

BillPrint twoKinds() {
    BillPrint p;
    p.guest.tabl_gues_auto_recn = 7;
    p.guest.tabl_gues_shou = 595;
    p.guest.tabl_gues_fact = 595;
    p.tableName = QStringLiteral("大厅1号桌");
    p.lines = {{"中餐", "宫保鸡丁", "份", 48, 2, 96, 0}, {"酒水", "可口可乐", "听", 8, 3, 24, 8}};
    p.layout.details = true;
    return p;
}

billing::BillSettings rounding() {
    billing::BillSettings s;
    s.sumRounding = kRoundHalfEven;
    return s;
}

TEST(BillDocument, SectionsFollowTheLayout) {
    const auto withCard = [](double charged, bool switchOn) {
        BillPrint p = twoKinds();
        p.guest.memb_mone = charged;
        p.guest.memb_card_code = QStringLiteral("880001");
        p.guest.memb_name = QStringLiteral("林晓雯");
        p.member = MemberCard{.code = "880001", .name = "林晓雯", .balance = 2000};
        p.layout.member = p.layout.memberBalance = switchOn;
        return p;
    };
    BillPrint kindsOnly = twoKinds();
    kindsOnly.layout.details = false;
    kindsOnly.layout.kinds = true;
    BillPrint both = twoKinds();
    both.layout.kinds = true;
    BillPrint change = twoKinds();
    change.layout.change = true;
    {
        billing::GuestRecord g = change.guest;
        Tender t{{{"Z", "现金", 600}, {"R", "免单", 0}}, std::nullopt, std::nullopt, 595};
        change.changeLine = prepareSettlement(g, t, rounding(), QDateTime()).changeLine();
    }
    const struct {
        const char* name;
        BillPrint print;
        QStringList present;
        QStringList absent;
    } cases[] = {
        {"lines without kind subtotals",
         twoKinds(),
         {"宫保鸡丁|份|48.00|2|96.00", "合计|5|120.00", "赠单合计8"},
         {"中餐|小计|2|96.00"}},
        {"lines with kind subtotals",
         both,
         {"宫保鸡丁|份|48.00|2|96.00", "中餐|小计|2|96.00", "酒水|小计|3|24.00"},
         {}},
        {"kind subtotals only",
         kindsOnly,
         {"中餐|2|96.00", "酒水|3|24.00", "合计|5|120.00"},
         {"宫保鸡丁|份|48.00|2|96.00", "中餐|小计|2|96.00"}},
        {"card paid, switch on",
         withCard(200, true),
         {"会员信息：880001 林晓雯", "会员余额： 消费前金额-2000 消费后金额-1800"},
         {}},
        {"card paid, switch off", withCard(200, false), {}, {"会员信息：880001 林晓雯"}},
        {"no card payment", withCard(0, true), {}, {"会员信息：880001 林晓雯"}},
        {"600 handed over for 595", change, {"找零明细：收款金额-600 找零金额-5"}, {}},
        {"change switched off",
         [&] {
             BillPrint p = change;
             p.layout.change = false;
             return p;
         }(),
         {},
         {"找零明细：收款金额-600 找零金额-5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const document::Document doc = billDocument(c.print, rounding());
        const QStringList rows = rowsOf(doc);
        for (const QString& text : c.present)
            EXPECT_TRUE(rows.contains(text)) << text.toStdString() << " not in\n"
                                             << rows.join('\n').toStdString();
        for (const QString& text : c.absent)
            EXPECT_FALSE(rows.contains(text)) << text.toStdString();
    }
    // The separator over the grand total stands when exactly one of lines and subtotals prints.
    const auto separated = [](const BillPrint& p) {
        const document::Document doc = billDocument(p, rounding());
        for (const document::Band& band : doc.bands)
            if (band.kind == document::BandKind::Summary && !band.rows.isEmpty() &&
                band.rows[0].cells[0].text == QStringLiteral("合计"))
                return band.ruleAbove != document::Rule::None;
        return false;
    };
    EXPECT_TRUE(separated(kindsOnly));
    EXPECT_TRUE(separated(twoKinds()));
    EXPECT_FALSE(separated(both));
}

} // namespace
