#include "frontdesk/checkout/settle_step.h"

#include "common/money.h"
#include "frontdesk/checkout/column_fit.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace sorrel::checkout {

namespace {

// "1,234.50": the change messages write amounts with thousands separators and two decimals.
QString separated(double amount) {
    return QLocale(QLocale::English).toString(amount, 'f', 2);
}

// The first check a payment row fails; nothing when it passes. Only rows with an amount above 0
// are checked.
QString refusalOf(const PaymentRow& row, const Tender& tender) {
    if (compareMoney(row.amount, 0) <= 0) return {};
    if (row.code == PayCode::kCredit) {
        if (!tender.credit || tender.credit->name.isEmpty()) return kNoCreditGuestMessage;
        if (compareMoney(tender.credit->limit - tender.credit->owed - row.amount, 0) < 0)
            return kOverCreditLimitMessage;
    } else if (row.code == PayCode::kMember) {
        if (!tender.member) return kNoMemberMessage;
        if (tender.member->cardType.trimmed() == kPointsCard) return kPointsCardMessage;
        if (compareMoney(tender.member->balance - row.amount, 0) < 0) return kOverMemberBalanceMessage;
    }
    return {};
}

// What the payment description keeps: tabl_gues_pay_narr holds 40 characters.
constexpr int kDescriptionLength = 40;

} // namespace

QString plainAmount(double amount) {
    // Compiled once: every settled bill describes its payments with it.
    static const QRegularExpression trailingZeros(QStringLiteral("\\.?0+$"));
    const double cents = std::round(amount * 100) / 100;
    return QString::number(cents == 0 ? 0.0 : cents, 'f', 2).remove(trailingZeros);
}

QString Settlement::changeMessage() const {
    if (compareMoney(change, 0) < 0)
        return QStringLiteral("请找零：[ ") + separated(-change) + QStringLiteral(" ]元  ！");
    if (compareMoney(change, 0) > 0)
        return QStringLiteral("请收现金：[ ") + separated(change) + QStringLiteral(" ]元  ！");
    return {};
}

QString Settlement::changeLine() const {
    if (compareMoney(change, 0) >= 0) return {};
    return QStringLiteral("收款金额-") + plainAmount(paid + tendered) + QStringLiteral(" 找零金额-") +
           plainAmount(-change);
}

Settlement prepareSettlement(const billing::GuestRecord& guest, const Tender& tender,
                             const billing::BillSettings& settings, const QDateTime& now) {
    Settlement s;
    s.guest = guest;
    s.payments = tender.payments;
    s.collectedNow = tender.collectedBefore;
    for (const PaymentRow& row : tender.payments)
        if (const QString refusal = refusalOf(row, tender); !refusal.isEmpty()) {
            s.refusal = refusal;
            return s;
        }
    s.tendered = s.payments.isEmpty() ? 0 : s.payments.first().amount;

    billing::GuestRecord& g = s.guest;
    g.tabl_gues_pay_narr.clear();
    g.tabl_gues_time_end = now;
    // A card or credit guest charged at an earlier attempt and since set back to 0 is charged nothing.
    g.hang_code.clear();
    g.hang_name.clear();
    g.hang_mone = 0;
    g.memb_card_code.clear();
    g.memb_name.clear();
    g.memb_mone = 0;
    QString description;
    for (PaymentRow& row : s.payments) {
        if (row.code == PayCode::kWaiver) {
            // Lowering the collected amount waives the difference.
            row.amount = settings.intWay(row.amount + tender.collectedBefore - g.tabl_gues_fact);
            g.none_mone = row.amount;
            s.collectedNow = g.tabl_gues_fact;
        }
        if (compareMoney(row.amount, 0) == 0) continue;
        if (row.code == PayCode::kCredit && tender.credit) {
            g.hang_mone = row.amount;
            g.hang_code = tender.credit->code;
            g.hang_name = tender.credit->name;
        } else if (row.code == PayCode::kMember && tender.member) {
            g.memb_mone = row.amount;
            g.memb_card_code = tender.member->code;
            g.memb_name = tender.member->name;
        }
        if (compareMoney(row.amount, 0) > 0 && row.code != PayCode::kCash) {
            if (row.code != PayCode::kWaiver) s.paid += row.amount;
            description += row.name + plainAmount(settings.intWay(row.amount)) + QLatin1Char(' ');
        }
    }
    if (compareMoney(g.tabl_gues_shou - g.none_mone, 0) < 0) {
        s.refusal = kWaiverOverBillMessage;
        return s;
    }
    g.tabl_gues_fact = settings.intWay(g.tabl_gues_shou - g.none_mone);
    s.change = g.tabl_gues_fact - s.tendered - s.paid;
    g.tabl_gues_pay_narr = (QStringLiteral("现金") + plainAmount(settings.intWay(g.tabl_gues_fact - s.paid)) +
                            QLatin1Char(' ') + description)
                               .left(kDescriptionLength);
    if (!s.payments.isEmpty()) s.payments.first().amount = g.tabl_gues_fact - s.paid;
    return s;
}

std::optional<double> commission(double base, const QString& kind, const CommissionRates& rates,
                                 const billing::BillSettings& settings) {
    const double above = base - rates.quota;
    if (compareMoney(above, 0) <= 0) return std::nullopt;
    const auto earned = [&](int standard, int overQuota) {
        return settings.intWay(standard * rates.quota / 100.0 + overQuota * above / 100.0);
    };
    if (kind == kBookingCommission) return earned(rates.bookingStandard, rates.bookingAbove);
    if (kind == kDesignatedCommission) return earned(rates.designatedStandard, rates.designatedAbove);
    if (kind == kSeatingCommission) return earned(rates.seatingStandard, rates.seatingAbove);
    return 0.0;
}

void applySettlement(billing::GuestRecord& g, const SettleFacts& facts, const Cashier& cashier,
                     const QDate& businessDay, const QDateTime& at, const billing::BillSettings& settings) {
    g.dedu_mone = 0;
    g.grou_code.clear();
    g.area_code.clear();
    if (!g.dedu_oper_code.isEmpty() && !g.dedu_type.isEmpty()) {
        const std::optional<double> earned =
            commission(g.tabl_gues_fact - g.tabl_gues_tax, g.dedu_type, facts.rates, settings);
        if (earned) {
            g.dedu_mone = *earned;
            g.grou_code = facts.staffGroup;
            g.area_code = facts.staffArea;
        }
    }
    g.tabl_gues_time_end = at;
    g.tabl_gues_time_work = QDateTime(businessDay, QTime(0, 0));
    g.tabl_gues_stat = QStringLiteral("3");
    g.cost_mone = facts.cost;
    const QString bills = QStringLiteral("TableGuestlist");
    const auto copy = [&](QString& into, const char* column, const QString& name) {
        into = fitted(bills, QString::fromLatin1(column), name);
    };
    copy(g.tabl_name, "tabl_name", facts.tableName);
    copy(g.tabl_type_name, "tabl_type_name", facts.tableTypeName);
    copy(g.cons_mode_name, "cons_mode_name", facts.modeName);
    copy(g.cons_type_name, "cons_type_name", facts.consTypeName);
    copy(g.dedu_oper_name, "dedu_oper_name", facts.staffName);
    copy(g.dept_name, "dept_name", facts.deptName);
    copy(g.orde_name, "orde_name", facts.shiftName);
    g.orde_code = cashier.shiftCode;
    g.oper_code = cashier.operCode;
    copy(g.oper_name, "oper_name", cashier.operName);
}

} // namespace sorrel::checkout
