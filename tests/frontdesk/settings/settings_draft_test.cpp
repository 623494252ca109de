// The cashier settings and the bill layout as the settings screen saves them: only the columns
// the pages show, only those changed, never what another workstation wrote meanwhile to the
// bill counter, the day, the operator or the system password; the next bill at any desk follows
// what was saved.
#include "common/db/errors.h"
#include "common/schema/presets.h"
#include "common/system_password.h"
#include "common/typed_input.h"
#include "frontdesk/checkout/bill_print.h"
#include "frontdesk/settings/settings_draft.h"
#include "tests/frontdesk/checkout/checkout_fixture.h"

using namespace sorrel;
using namespace sorrel::settings;

namespace {

class SettingsDraftTest : public test::CheckoutTest {
  protected:
    QVariant stored(const QString& table, const QString& column) {
        return db().scalar(QStringLiteral("SELECT %1 FROM %2").arg(column, table));
    }
    QVariant cashier(const QString& column) { return stored(kCashierSettingsTable, column); }
    QVariant layout(const QString& column) { return stored(kBillLayoutTable, column); }
};

TEST_P(SettingsDraftTest, ASaveKeepsTheBillNumberDayOperatorAndPasswordAnotherDeskWroteMeanwhile) {
    SettingsDraft draft = SettingsDraft::load(db());
    draft.setCashier(kSumRounding, kRaiseFraction);
    draft.setCashier(kStockLimit, 12);
    draft.setLayout(QStringLiteral("set_prn_zero_allo"), false);
    draft.setLayout(kFreeLine1, QStringLiteral("店庆八折'欢迎"));

    // Meanwhile another desk opens a table (a bill numbered), logs in, and the back office sets
    // the system password and the venue's name.
    std::unique_ptr<Database> other = scratch().connectAgain();
    const int counterBefore = counter();
    tables::openTable(*other, typed(*other, QStringLiteral("A02"), 2), billing::BillSettings::load(*other),
                      clock, {});
    other->exec(
        QStringLiteral("UPDATE SetupPay SET oper_code = '07', orde_code = '2', user_name = '新店名'"));
    setSystemPassword(*other, QStringLiteral("9'9"), QStringLiteral("9'9"));

    draft.save(db());
    EXPECT_EQ(counter(), counterBefore + 1);
    EXPECT_EQ(cashier("oper_code").toString(), QStringLiteral("07"));
    EXPECT_EQ(cashier("orde_code").toString(), QStringLiteral("2"));
    EXPECT_EQ(cashier("user_name").toString(), QStringLiteral("新店名"));
    EXPECT_TRUE(cashier("pay_star").toInt() != 0);
    EXPECT_TRUE(systemPasswordMatches(db(), QStringLiteral("9'9")));
    EXPECT_EQ(cashier(kSumRounding).toString(), kRaiseFraction);
    EXPECT_EQ(cashier(kStockLimit).toInt(), 12);
    EXPECT_EQ(layout(QStringLiteral("set_prn_zero_allo")).toInt(), 0);
    EXPECT_EQ(layout(kFreeLine1).toString(), QStringLiteral("店庆八折'欢迎"));
    // What the draft did not change stays as it was.
    EXPECT_EQ(cashier(kLineRounding).toString(), kKeepCents);
    EXPECT_NE(layout(QStringLiteral("set_prn_pay_allo")).toInt(), 0);
}

TEST_P(SettingsDraftTest, ASettingChangedAtAnotherDeskSinceItWasReadRefusesTheWholeSave) {
    SettingsDraft draft = SettingsDraft::load(db());
    draft.setCashier(kSumRounding, kDropFraction);
    draft.setLayout(kFreeLine2, QStringLiteral("不该写入"));
    std::unique_ptr<Database> other = scratch().connectAgain();
    SettingsDraft elsewhere = SettingsDraft::load(*other);
    elsewhere.setCashier(kSumRounding, kKeepCents);
    elsewhere.save(*other);

    try {
        draft.save(db());
        ADD_FAILURE() << "saved over another desk's rounding";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), kSettingsChangedElsewhereMessage);
    }
    EXPECT_EQ(cashier(kSumRounding).toString(), kKeepCents);
    EXPECT_EQ(layout(kFreeLine2).toString(), QStringLiteral("请妥善保管好您的随身物品。"));

    // A setting the other desk changed that this draft leaves alone does not stand in the way.
    SettingsDraft fresh = SettingsDraft::load(db());
    fresh.setCashier(kStockLimit, 3);
    elsewhere = SettingsDraft::load(*other);
    elsewhere.setCashier(kLineRounding, kRaiseFraction);
    elsewhere.save(*other);
    fresh.save(db());
    EXPECT_EQ(cashier(kStockLimit).toInt(), 3);
    EXPECT_EQ(cashier(kLineRounding).toString(), kRaiseFraction);
}

TEST_P(SettingsDraftTest, ChangingTheTaxTypeClearsTheOtherTypesAmount) {
    db().exec(QStringLiteral("UPDATE SetupPay SET pay_set_tax_type = '按人数', pay_set_tax_mone = 5, "
                             "pay_set_tax_perc = 7.5"));
    struct Step {
        QString type;
        double perGuest;
        double percent;
    } steps[] = {{billing::kTaxByRate, 0, 7.5}, {billing::kTaxPerGuest, 0, 0}};
    SettingsDraft draft = SettingsDraft::load(db());
    EXPECT_TRUE(draft.taxPerGuestEditable());
    for (const Step& s : steps) {
        draft.setTaxType(s.type);
        EXPECT_EQ(draft.taxPerGuestEditable(), s.type == billing::kTaxPerGuest);
        EXPECT_DOUBLE_EQ(draft.cashierValue(kTaxPerGuest).toDouble(), s.perGuest) << s.type.toStdString();
        EXPECT_DOUBLE_EQ(draft.cashierValue(kTaxPercent).toDouble(), s.percent) << s.type.toStdString();
    }
    draft.setCashier(kTaxPerGuest, 2.5);
    draft.save(db());
    EXPECT_EQ(cashier(kTaxType).toString(), billing::kTaxPerGuest);
    EXPECT_DOUBLE_EQ(cashier(kTaxPerGuest).toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(cashier(kTaxPercent).toDouble(), 0);
}

TEST_P(SettingsDraftTest, DefaultWritesTheTwentyEightHeaderColumnsAndNothingElse) {
    db().exec(
        QStringLiteral("UPDATE setupprint SET set_prn_11_titl = '实收金额', set_prn_11_fiel = "
                       "'tabl_gues_fact', set_prn_72_titl = '客人姓名', set_prn_72_fiel = 'tabl_gues_name', "
                       "set_prn_3_allo = 0, set_prn_d1_text = '自定义', set_prn_kind_allo = 0"));
    SettingsDraft draft = SettingsDraft::load(db());
    draft.chooseCaption(3, QStringLiteral("折扣费率"));
    draft.setLayout(rowSwitchColumn(0), false);
    draft.resetHeader(db());

    const QList<presets::BillHeaderCell>& defaults = presets::defaultBillHeader();
    for (int cell = 0; cell < 14; ++cell) {
        EXPECT_EQ(layout(captionColumn(cell)).toString(), defaults[cell].caption) << cell;
        EXPECT_EQ(layout(fieldColumn(cell)).toString(), defaults[cell].column) << cell;
        EXPECT_EQ(draft.layoutValue(captionColumn(cell)).toString(), defaults[cell].caption) << cell;
    }
    EXPECT_EQ(layout(QStringLiteral("set_prn_3_allo")).toInt(), 0);
    EXPECT_EQ(layout(kFreeLine1).toString(), QStringLiteral("自定义"));
    EXPECT_EQ(layout(QStringLiteral("set_prn_kind_allo")).toInt(), 0);
    EXPECT_TRUE(systemPasswordMatches(db(), QString::fromLatin1(presets::kSystemPassword)));
    // The row switch changed before "默认" is still to be saved, and is saved with the rest.
    EXPECT_NE(layout(rowSwitchColumn(0)).toInt(), 0);
    EXPECT_TRUE(draft.changed());
    draft.save(db());
    EXPECT_EQ(layout(rowSwitchColumn(0)).toInt(), 0);
    EXPECT_EQ(layout(fieldColumn(3)).toString(), QStringLiteral("tabl_gues_auto_recn"));
}

TEST_P(SettingsDraftTest, ACaptionChosenForACellPrintsItsOwnColumn) {
    SettingsDraft draft = SettingsDraft::load(db());
    const QStringList captions = headerCaptions();
    ASSERT_EQ(captions.size(), 14);
    for (int cell = 0; cell < 14; ++cell)
        draft.chooseCaption(cell, captions[13 - cell]);
    draft.save(db());
    const QList<presets::BillHeaderCell>& defaults = presets::defaultBillHeader();
    for (int cell = 0; cell < 14; ++cell) {
        EXPECT_EQ(layout(captionColumn(cell)).toString(), defaults[13 - cell].caption);
        EXPECT_EQ(layout(fieldColumn(cell)).toString(), defaults[13 - cell].column);
    }
    EXPECT_THROW(draft.chooseCaption(0, QStringLiteral("小费")), std::logic_error);
    EXPECT_THROW(draft.setCashier(QStringLiteral("auto_recn"), 1), std::logic_error);
    EXPECT_THROW(draft.setLayout(QStringLiteral("set_prn_92_fiel"), QString()), std::logic_error);
}

TEST_P(SettingsDraftTest, TheNextBillAtAnotherDeskFollowsTheSavedRoundingTaxAndLayout) {
    const int before = openTable(QStringLiteral("A02"));
    addLine(before, QStringLiteral("101001"), 1, 10.4);
    checkout::CheckoutSession old(db(), clock);
    old.enter(QStringLiteral("A02"));
    EXPECT_DOUBLE_EQ(old.guest().tabl_gues_shou, 10);
    EXPECT_FALSE(old.taxConfigured());
    old.back();

    // The manager saves at another desk: bills rounded up, 10% tax, the first header row off,
    // a free line of the house.
    std::unique_ptr<Database> other = scratch().connectAgain();
    SettingsDraft draft = SettingsDraft::load(*other);
    draft.setCashier(kSumRounding, kRaiseFraction);
    draft.setTaxType(billing::kTaxByRate);
    draft.setCashier(kTaxPercent, 10.0);
    draft.setLayout(rowSwitchColumn(0), false);
    draft.setLayout(kFreeLine1, QStringLiteral("周三会员日"));
    draft.save(*other);

    // The next bill at this desk, with no new login.
    const int bill = openTable(QStringLiteral("A01"));
    addLine(bill, QStringLiteral("101001"), 1, 10.4);
    checkout::CheckoutSession next(db(), clock);
    next.enter(QStringLiteral("A01"));
    EXPECT_EQ(next.settings().sumRounding, kRaiseFraction);
    EXPECT_DOUBLE_EQ(next.guest().tabl_gues_shou, 11); // 10.40 rounded up
    ASSERT_TRUE(next.taxConfigured());
    EXPECT_TRUE(next.taxQuestion().contains(billing::kTaxByRate));
    next.addTax(2);
    EXPECT_DOUBLE_EQ(next.guest().tabl_gues_shou, 13); // 11 and its 10% tax, both rounded up

    const checkout::BillLayout printed = checkout::loadBillLayout(db());
    EXPECT_FALSE(printed.rows[0]);
    EXPECT_TRUE(printed.rows[1]);
    EXPECT_EQ(printed.free1Text, QStringLiteral("周三会员日"));
}

SORREL_ON_EVERY_ENGINE(SettingsDraftTest);

TEST(CashierPageNumbers, TypedNumbersAreTakenOnlyAsTheirFieldsHoldThem) {
    struct Case {
        const char* typed;
        std::optional<double> stockLimit, perGuest, percent; // none: refused
    } cases[] = {
        {"", 0, 0, 0},
        {"5", 5, 5, 5},
        {" 12 ", 12, 12, 12},
        {"7.5", std::nullopt, 7.5, 7.5},
        {"99.9", std::nullopt, 99.9, 99.9},
        {"100", 100, 100, std::nullopt},
        {"2.25", std::nullopt, 2.25, std::nullopt},
        {"0.125", std::nullopt, std::nullopt, std::nullopt},
        {"-1", std::nullopt, std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt, std::nullopt},
        {"99999999.99", std::nullopt, 99999999.99, std::nullopt},
        {"100000000", 100000000, std::nullopt, std::nullopt},
    };
    const auto taken = [](auto parse, const char* typed) -> std::optional<double> {
        try {
            return double(parse(QString::fromLatin1(typed)));
        } catch (const InvalidInput&) {
            return std::nullopt;
        }
    };
    for (const Case& c : cases) {
        EXPECT_EQ(taken(parseStockLimit, c.typed), c.stockLimit) << c.typed;
        EXPECT_EQ(taken(parseTaxPerGuest, c.typed), c.perGuest) << c.typed;
        EXPECT_EQ(taken(parseTaxPercent, c.typed), c.percent) << c.typed;
    }
    EXPECT_EQ(taxPercentText(7.5), QStringLiteral("7.5%"));
    EXPECT_EQ(taxPercentText(10), QStringLiteral("10%"));
}

} // namespace
