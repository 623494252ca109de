// The query reports over a small history on every engine: which bills and lines each list
// finds for its dates and filters, the bill detail, and the printed bill layout in its variants.
#include "common/typed_input.h"
#include "frontdesk/reports/bill_detail.h"
#include "frontdesk/reports/query_reports.h"
#include "tests/support/test_database.h"

using namespace sorrel;
using namespace sorrel::reports;

namespace {

const QDate kJune1(2026, 6, 1);

struct Bill {
    Bill(qint64 number, int day, const QString& dept = QStringLiteral("01"), const QString& shift = QStringLiteral("1"))
        : number(number), day(day), dept(dept), shift(shift) {}
    qint64 number;
    int day; // of June
    QString dept;
    QString shift;
    QString card;
    double memberPaid = 0;
    QString creditCode;
    QString creditName;
    double credit = 0;
    double due = 100;
    QTime at = QTime(0, 0);
};

Bill paidByCard(qint64 number, int day, const QString& card, double paid, QTime at = QTime(0, 0)) {
    Bill b{number, day};
    b.card = card;
    b.memberPaid = paid;
    b.at = at;
    return b;
}

Bill onCredit(qint64 number, int day, const QString& code, const QString& name, double amount) {
    Bill b{number, day};
    b.creditCode = code;
    b.creditName = name;
    b.credit = amount;
    return b;
}

class QueryReportsTest : public test::EngineTest {
  protected:
    void add(const Bill& b) {
        db().exec(QStringLiteral(
                      "INSERT INTO AllGues (tabl_gues_auto_recn, tabl_gues_time_work, dept_code, orde_code, "
                      "memb_card_code, memb_mone, hang_code, hang_name, hang_mone, tabl_gues_shou, tabl_gues_fact, "
                      "tabl_gues_dish, tabl_gues_coun, tabl_name, tabl_gues_user_recn, oper_name) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 2, 'A01', 'M7', '张三')"),
                  {b.number, QDateTime(kJune1.addDays(b.day - 1), b.at), b.dept, b.shift, b.card, b.memberPaid,
                   b.creditCode, b.creditName, b.credit, b.due, b.due, b.due});
    }
    void addLine(qint64 bill, int day, const QString& item) {
        db().exec(QStringLiteral("INSERT INTO AllCons (tabl_cons_ID, tabl_gues_auto_recn, tabl_cons_time_work, "
                                 "item_code, tabl_cons_coun, tabl_cons_tota) VALUES (?, ?, ?, ?, 1, 10)"),
                  {++lineId_, bill, QDateTime(kJune1.addDays(day - 1), QTime(0, 0)), item});
    }
    QList<qlonglong> column(const ReportList& list, const char* field) {
        QList<qlonglong> out;
        list.forEachRow(db(), [&](const RecordSet& rows, int i) { out << rows.integer(i, field); });
        return out;
    }
    QList<qlonglong> bills(const BillSelection& s) { return column(billList(s), "tabl_gues_auto_recn"); }
    static DateRange june(int from, int to) { return {kJune1.addDays(from - 1), kJune1.addDays(to - 1)}; }

  private:
    int lineId_ = 0;
};

using Numbers = QList<qlonglong>;

TEST_P(QueryReportsTest, EachBillListFindsTheBillsOfItsDatesAndFilter) {
    add(Bill{1, 1});
    add(Bill{2, 2, QStringLiteral("02"), QStringLiteral("2")});
    add(paidByCard(3, 3, QStringLiteral("0001"), 50));
    add(paidByCard(4, 3, QStringLiteral("O'Neil"), 20, QTime(21, 30)));
    add(paidByCard(5, 4, QStringLiteral("0001"), 0));
    add(onCredit(6, 5, QStringLiteral("H01"), QStringLiteral("王总"), 80));
    add(onCredit(7, 3, QStringLiteral("H02"), QStringLiteral("王总"), 30));

    const struct {
        const char* what;
        BillSelection selection;
        Numbers expected;
    } cases[] = {
        {"every bill, the last day's late entry too", billsOf(june(1, 3), BillFilterBy::Department, {}),
         {1, 2, 3, 7, 4}},
        {"one department", billsOf(june(1, 5), BillFilterBy::Department, {QStringLiteral("02"), {}}), {2}},
        {"one shift", billsOf(june(1, 5), BillFilterBy::Shift, {QStringLiteral("1"), {}}), {1, 3, 7, 4, 5, 6}},
        {"every member card", memberBillsOf(june(1, 5), QStringLiteral(" ")), {3, 4}},
        {"one card, none paid by it on the 4th", memberBillsOf(june(1, 5), QStringLiteral(" 0001 ")), {3}},
        {"a card with a quote is data", memberBillsOf(june(1, 5), QStringLiteral("O'Neil")), {4}},
        {"no card of that text", memberBillsOf(june(1, 5), QStringLiteral("'; drop table SetupPay; --")), {}},
        {"every credit bill", creditBillsOf(june(1, 5), {}), {7, 6}},
        {"one guest of two sharing a name", creditBillsOf(june(1, 5), {QStringLiteral("H02"), {}}), {7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(bills(c.selection), c.expected);
    }
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM SetupPay")).toInt(), 1);
}

TEST_P(QueryReportsTest, FilesCarryEveryBillAndLineOfTheRangePastAnEmptyWeek) {
    for (const int day : {1, 7, 8, 22, 30}) {
        add(Bill{day, day});
        addLine(day, day, QStringLiteral("A"));
    }
    const auto numbers = [](const exporting::Sheet& sheet) {
        Numbers out;
        QVector<QVariant> row;
        while (sheet.next(row)) out << row[1].toLongLong();
        return out;
    };
    EXPECT_EQ(numbers(billListSheet(db(), billsOf(june(1, 29), BillFilterBy::Department, {}), {})),
              (Numbers{1, 7, 8, 22}));
    EXPECT_EQ(numbers(orderLineSheet(db(), june(2, 30), QString(), {})), (Numbers{7, 8, 22, 30}));
}

TEST_P(QueryReportsTest, CreditGuestsOutsideTheDatesAreOfferedOnlyForDatesThatHoldThem) {
    add(onCredit(1, 1, QStringLiteral("H01"), QStringLiteral("王总"), 80));
    add(onCredit(2, 9, QStringLiteral("H02"), QStringLiteral("李总"), 30));
    add(onCredit(3, 9, QStringLiteral("H03"), QStringLiteral("赵总"), -5));

    EXPECT_EQ(creditGuestsIn(db(), june(1, 5)), (QList<Choice>{{QStringLiteral("H01"), QStringLiteral("王总")}}));
    EXPECT_EQ(creditGuestsIn(db(), june(1, 9)),
              (QList<Choice>{{QStringLiteral("H01"), QStringLiteral("王总")},
                             {QStringLiteral("H02"), QStringLiteral("李总")}}));
}

TEST_P(QueryReportsTest, TheLineQueryListsOneBillsLinesInTheRangeOnly) {
    add(Bill{1024, 2});
    addLine(1024, 2, QStringLiteral("A"));
    addLine(1024, 3, QStringLiteral("B")); // the bill's later line, outside the range
    addLine(1025, 2, QStringLiteral("C"));

    const ReportList one = orderLineList(june(1, 2), QStringLiteral(" 1024 "));
    EXPECT_EQ(column(one, "tabl_gues_auto_recn"), Numbers{1024});
    EXPECT_EQ(column(orderLineList(june(1, 3), QString()), "tabl_gues_auto_recn"), (Numbers{1024, 1025, 1024}));

    for (const char* typed : {"12 or 1=1", "1024;", "-1", "1.5", "１０２４", "2147483648"}) {
        SCOPED_TRACE(typed);
        EXPECT_THROW(orderLineList(june(1, 3), QString::fromUtf8(typed)), InvalidInput);
    }
}

TEST_P(QueryReportsTest, TheDetailReadsOneBillsPaymentsAndLines) {
    add(Bill{7, 2});
    db().exec(QStringLiteral("INSERT INTO AllGuesPay (tabl_gues_auto_recn, pay_type_code, pay_type_name, "
                             "pay_type_mone) VALUES (7, 'A', '现金', 60), (7, 'B', '会员卡', 40), (8, 'A', '现金', 5)"));
    addLine(7, 2, QStringLiteral("A"));
    addLine(8, 2, QStringLiteral("B"));

    const std::optional<BillDetail> d = billDetail(db(), 7);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->text(basicInfoFields()[1]), QStringLiteral("7"));
    EXPECT_EQ(d->text(settlementFields()[1]), QStringLiteral("100.00"));
    ASSERT_EQ(d->payments.rowCount(), 2);
    EXPECT_EQ(d->payments.text(0, "pay_type_name"), QStringLiteral("会员卡"));
    EXPECT_EQ(d->lines.rowCount(), 1);
    EXPECT_EQ(detailLineColumns().last().field, QStringLiteral("tabl_code"));
    EXPECT_FALSE(billDetail(db(), 9));
}

SORREL_ON_EVERY_ENGINE(QueryReportsTest);

// The texts of a document's bands of one kind, cell by cell.
QStringList texts(const document::Document& doc, document::BandKind kind) {
    QStringList out;
    for (const document::Band& band : doc.bands)
        if (band.kind == kind)
            for (const document::Row& row : band.rows)
                for (const document::Cell& cell : row.cells) out << cell.text;
    return out;
}

class BillListDocumentTest : public QueryReportsTest {};

TEST_P(BillListDocumentTest, TheCreditVariantCarriesTheCreditAmountAndGuest) {
    add(onCredit(1, 1, QStringLiteral("H01"), QStringLiteral("王总"), 80));
    add(onCredit(2, 2, QStringLiteral("H01"), QStringLiteral("王总"), 30.5));
    add(Bill{3, 2});

    const struct {
        const char* what;
        BillSelection selection;
        QStringList heading; // the title, the due and the manual-number columns
        QString caption;
        QStringList total;   // 合计, bills, guests … due, received
    } cases[] = {
        {"bills", billsOf(june(1, 2), BillFilterBy::Shift, {QStringLiteral("1"), QStringLiteral("早班")}),
         {QStringLiteral("帐单查询报表"), QStringLiteral("应收"), QStringLiteral("手工号")},
         QStringLiteral("班次:早班"),
         {QStringLiteral("合计"), QStringLiteral("3"), QStringLiteral("300.00"), QStringLiteral("300.00")}},
        {"credit", creditBillsOf(june(1, 2), {QStringLiteral("H01"), QStringLiteral("王总")}),
         {QStringLiteral("挂帐客人查询报表"), QStringLiteral("挂帐额"), QStringLiteral("挂帐人")},
         QStringLiteral("挂帐客人:王总"),
         {QStringLiteral("合计"), QStringLiteral("2"), QStringLiteral("110.50"), QStringLiteral("200.00")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ReportFrame frame{billListTitle(c.selection.kind), QStringLiteral("岚舟大酒店"), c.selection.range,
                                c.selection.caption, QStringLiteral("张三"), QDateTime(kJune1, QTime(9, 0))};
        const document::Document doc = billListDocument(db(), c.selection, frame).whole();
        EXPECT_EQ(texts(doc, document::BandKind::Title), QStringList{c.heading[0]});
        const QStringList header = texts(doc, document::BandKind::ColumnHeader);
        EXPECT_EQ(header.value(10), c.heading[1]);
        EXPECT_EQ(header.value(12), c.heading[2]);
        EXPECT_TRUE(texts(doc, document::BandKind::Header).contains(c.caption));
        const QStringList summary = texts(doc, document::BandKind::Summary);
        ASSERT_GE(summary.size(), 12);
        EXPECT_EQ((QStringList{summary[0], summary[1], summary[10], summary[11]}), c.total);
    }
}

SORREL_ON_EVERY_ENGINE(BillListDocumentTest);

} // namespace
