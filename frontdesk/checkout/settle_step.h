// The arithmetic of settling one bill, free of the database: the checks on the member card and
// the credit guest, the walk over the payment rows (waiver, charges, what was paid, the payment
// description), the change and its message, and the commission the staff member earns. The
// settle step and the bill's preview both compute with it; only the settle step writes.
#pragma once

#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/guest_record.h"
#include "frontdesk/checkout/payments.h"

#include <QDateTime>

namespace sorrel::checkout {

inline const QString kNoCreditGuestMessage = QStringLiteral("无挂帐人，挂帐金额无效，请选择挂帐人！");
inline const QString kOverCreditLimitMessage = QStringLiteral("超出上限金额，挂帐金额无效，请重新输入！");
inline const QString kNoMemberMessage = QStringLiteral("未指定会员，会员卡金额无效，请选择会员！");
inline const QString kPointsCardMessage = QStringLiteral("积分卡不能作为现金进行消费，请确认！");
inline const QString kOverMemberBalanceMessage = QStringLiteral("超出上限金额，会员卡金额无效，请重新输入！");
inline const QString kWaiverOverBillMessage = QStringLiteral("免单不能超过实际消费金额 ！");

// What the operator typed for one bill: the amount of each method, the card and the credit
// guest chosen, and the collected amount as it stood at the last recomputation or attempt (the
// waiver is what the operator lowered it by since).
struct Tender {
    QList<PaymentRow> payments = {}; // highest code first, cash at the head
    std::optional<MemberCard> member = {};
    std::optional<CreditGuest> credit = {};
    double collectedBefore = 0;
};

struct Settlement {
    QString refusal; // the first check that failed; empty when the bill can be settled
    billing::GuestRecord guest;
    QList<PaymentRow> payments; // the waiver row with the lowered amount, the cash row with the cash kept
    double tendered = 0;        // T: the cash handed over
    double paid = 0;            // P: what the other methods pay
    double change = 0;          // Q: below 0 change is given, above 0 cash is still owed
    double collectedNow = 0;    // the collected amount the next attempt starts from

    bool ok() const { return refusal.isEmpty(); }
    // "请找零：[ 5.00 ]元  ！", "请收现金：[ … ]元  ！", or nothing when the bill is paid exactly.
    QString changeMessage() const;
    // The bill's change line, when change is due: "收款金额-600 找零金额-5".
    QString changeLine() const;
};

// Checks the card and the credit guest row by row, then walks the payments of `tender` against
// `guest` (its tabl_gues_fact is the collected amount now in the field). Nothing outside the
// answer changes.
Settlement prepareSettlement(const billing::GuestRecord& guest, const Tender& tender,
                             const billing::BillSettings& settings, const QDateTime& now);

// A payment-row amount as the description and the bill print it: 595, 12.5.
QString plainAmount(double amount);

// The commission kinds of dedu_type.
inline const QString kBookingCommission = QStringLiteral("预  定");
inline const QString kDesignatedCommission = QStringLiteral("指  定");
inline const QString kSeatingCommission = QStringLiteral("领  位");
inline const QString kNoCommission = QStringLiteral("无提成");

// The quota of a consumption mode and its percentages up to it and above it, per kind.
struct CommissionRates {
    double quota = 0; // cons_mode_achi
    int bookingStandard = 0, bookingAbove = 0;
    int designatedStandard = 0, designatedAbove = 0;
    int seatingStandard = 0, seatingAbove = 0;
};

// The commission on `base` (the collected amount without tax), earned only above the quota;
// nothing (no value) when the base does not exceed it.
std::optional<double> commission(double base, const QString& kind, const CommissionRates& rates,
                                 const billing::BillSettings& settings);

// Who settles: the operator and the shift of this workstation's login.
struct Cashier {
    QString operCode;
    QString operName;
    QString shiftCode;
    QString shiftName;
};

// What the settle step copies into the bill as the venue's lists hold it at that moment: the
// names the history and the reports read, the commission staff's group and area, the rates of
// the bill's mode, and the cost of its lines.
struct SettleFacts {
    QString tableName;
    QString tableTypeName;
    QString modeName;
    QString consTypeName;
    QString staffName;
    QString deptName;
    QString shiftName; // of the cashier's shift, as OrderList names it
    QString staffGroup;
    QString staffArea;
    CommissionRates rates;
    double cost = 0;
};

// The bill as the settle step writes it, from the figures the operator accepted: the commission
// the staff member earns (with their group and area when they earn one), settled at `at` on
// `businessDay`, status settled, its cost, and the names and the cashier, each cut to its
// column. The front desk's settle and the history generator both settle a bill with it.
void applySettlement(billing::GuestRecord& g, const SettleFacts& facts, const Cashier& cashier,
                     const QDate& businessDay, const QDateTime& at, const billing::BillSettings& settings);

} // namespace sorrel::checkout
