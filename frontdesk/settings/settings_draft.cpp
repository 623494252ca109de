#include "frontdesk/settings/settings_draft.h"

#include "common/db/transaction.h"
#include "common/money.h"
#include "common/schema/presets.h"
#include "common/typed_input.h"
#include "frontdesk/billing/bill_settings.h"

#include <cmath>
#include <stdexcept>

namespace sorrel::settings {

namespace {

// What each page holds, typed: the shape readSettingsValues reads.
SettingsValues cashierShape() {
    return {{kStockLimit, 0},           {kTaxType, QString()},     {kTaxPerGuest, 0.0},  {kTaxPercent, 0.0},
            {kLineRounding, QString()}, {kSumRounding, QString()}, {kAutoKitchen, false}};
}

SettingsValues headerShape() {
    SettingsValues shape;
    for (int cell = 0; cell < 14; ++cell) {
        shape.insert(captionColumn(cell), QString());
        shape.insert(fieldColumn(cell), QString());
    }
    return shape;
}

SettingsValues layoutShape() {
    SettingsValues shape = headerShape();
    for (int row = 0; row < 7; ++row)
        shape.insert(rowSwitchColumn(row), false);
    for (const SectionSwitch& s : sectionSwitches())
        shape.insert(s.column, false);
    shape.insert(kFreeLine1, QString());
    shape.insert(kFreeLine2, QString());
    shape.insert(kFreeLine1Switch, false);
    shape.insert(kFreeLine2Switch, false);
    return shape;
}

SettingsValues defaultHeader() {
    SettingsValues header;
    const QList<presets::BillHeaderCell>& cells = presets::defaultBillHeader();
    for (int cell = 0; cell < cells.size(); ++cell) {
        header.insert(captionColumn(cell), cells[cell].caption);
        header.insert(fieldColumn(cell), cells[cell].column);
    }
    return header;
}

void setIn(SettingsValues& values, const QString& column, const QVariant& value) {
    const auto it = values.find(column);
    if (it == values.end()) throw std::logic_error("the settings page has no such column");
    QVariant typed = value;
    if (!typed.convert(it.value().metaType())) throw std::logic_error("a settings value of the wrong type");
    it.value() = typed;
}

} // namespace

QStringList taxTypeChoices() {
    return {billing::kTaxByRate, billing::kTaxPerGuest};
}

QStringList lineRoundingChoices() {
    return {kRoundHalfEven, kRaiseFraction, kKeepCents};
}

QStringList sumRoundingChoices() {
    return {kRoundHalfEven, kDropFraction, kKeepCents, kRaiseFraction};
}

QString captionColumn(int cell) {
    return QStringLiteral("set_prn_%1%2_titl").arg(cell / 2 + 1).arg(cell % 2 + 1);
}

QString fieldColumn(int cell) {
    return QStringLiteral("set_prn_%1%2_fiel").arg(cell / 2 + 1).arg(cell % 2 + 1);
}

QString rowSwitchColumn(int row) {
    return QStringLiteral("set_prn_%1_allo").arg(row + 1);
}

const QList<SectionSwitch>& sectionSwitches() {
    static const QList<SectionSwitch> switches = {
        {QStringLiteral("set_prn_deta_allo"), QStringLiteral("明细打印")},
        {QStringLiteral("set_prn_kind_allo"), QStringLiteral("大类打印")},
        {QStringLiteral("set_prn_unit_allo"), QStringLiteral("合并点单")},
        {QStringLiteral("set_prn_disc_allo"), QStringLiteral("优惠明细打印")},
        {QStringLiteral("set_prn_pay_allo"), QStringLiteral("付款明细打印")},
        {QStringLiteral("set_prn_zero_allo"), QStringLiteral("找零明细打印")},
        {QStringLiteral("set_prn_memb_allo"), QStringLiteral("会员明细打印")},
        {QStringLiteral("set_prn_mpay_allo"), QStringLiteral("会员余额打印")},
        {QStringLiteral("set_prn_hang_allo"), QStringLiteral("挂帐明细打印")},
        {QStringLiteral("set_prn_hpay_allo"), QStringLiteral("挂帐金额打印")},
    };
    return switches;
}

QStringList headerCaptions() {
    QStringList captions;
    for (const presets::BillHeaderCell& c : presets::defaultBillHeader())
        captions << c.caption;
    return captions;
}

int parseStockLimit(const QString& text) {
    const double n =
        parseTypedNumber(text.trimmed().isEmpty() ? QStringLiteral("0") : text, {0, 2147483647.0});
    if (n != std::floor(n)) refuseTypedNumber(text);
    return int(n);
}

double parseTaxPerGuest(const QString& text) {
    const double n =
        parseTypedNumber(text.trimmed().isEmpty() ? QStringLiteral("0") : text, {0, largestDecimal(10)});
    if (compareMoney(IntWay(n, kKeepCents), n) != 0) refuseTypedNumber(text);
    return n;
}

double parseTaxPercent(const QString& text) {
    const double n = parseTypedNumber(text.trimmed().isEmpty() ? QStringLiteral("0") : text, {0, 99.9});
    if (compareMoney(std::round(n * 10) / 10, n) != 0) refuseTypedNumber(text);
    return n;
}

QString taxPercentText(double percent) {
    return plainNumberText(percent, 1) + QStringLiteral("%");
}

SettingsDraft SettingsDraft::load(Database& db) {
    SettingsDraft d;
    d.cashierAsRead_ = d.cashier_ = readSettingsValues(db, kCashierSettingsTable, cashierShape());
    d.layoutAsRead_ = d.layout_ = readSettingsValues(db, kBillLayoutTable, layoutShape());
    return d;
}

void SettingsDraft::setCashier(const QString& column, const QVariant& value) {
    setIn(cashier_, column, value);
}

void SettingsDraft::setLayout(const QString& column, const QVariant& value) {
    setIn(layout_, column, value);
}

void SettingsDraft::setTaxType(const QString& type) {
    setCashier(kTaxType, type);
    setCashier(taxPerGuestEditable() ? kTaxPercent : kTaxPerGuest, 0.0);
}

bool SettingsDraft::taxPerGuestEditable() const {
    return cashier_.value(kTaxType).toString().trimmed() == billing::kTaxPerGuest;
}

void SettingsDraft::chooseCaption(int cell, const QString& caption) {
    for (const presets::BillHeaderCell& c : presets::defaultBillHeader())
        if (c.caption == caption) {
            setLayout(captionColumn(cell), c.caption);
            setLayout(fieldColumn(cell), c.column);
            return;
        }
    throw std::logic_error("no such bill header caption");
}

void SettingsDraft::save(Database& db) const {
    Transaction tx(db);
    saveChangedSettings(db, kCashierSettingsTable, cashierAsRead_, cashier_);
    saveChangedSettings(db, kBillLayoutTable, layoutAsRead_, layout_);
    tx.commit();
}

void SettingsDraft::resetHeader(Database& db) {
    const SettingsValues header = defaultHeader();
    Transaction tx(db);
    // Read under the lock so the row count is checked, then all 28 written, whatever they held.
    readSettingsValues(db, kBillLayoutTable, header, SettingsLock::ForUpdate);
    QStringList sets;
    QVariantList values;
    for (auto it = header.begin(); it != header.end(); ++it) {
        sets << it.key() + QStringLiteral(" = ?");
        values << it.value();
    }
    db.exec(QStringLiteral("UPDATE setupprint SET ") + sets.join(QStringLiteral(", ")), values);
    tx.commit();
    for (auto it = header.begin(); it != header.end(); ++it) {
        layoutAsRead_.insert(it.key(), it.value());
        layout_.insert(it.key(), it.value());
    }
}

} // namespace sorrel::settings
