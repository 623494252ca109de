// Checkout of one table's bill (结帐): entering it, the recomputations while the operator
// changes the mode, the party, the discount scheme or rate, the payments typed for this bill,
// the member card and credit guest, and the settle transaction that turns the open bill into a
// settled one; or going back without settling. Everything typed stays in this object until the
// settle transaction writes it; the bill's figures come from the pure bill core.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/bill_snapshot.h"
#include "frontdesk/checkout/settle_step.h"

namespace sorrel::checkout {

inline const QString kSettleCode = QStringLiteral("B100001");
inline const QString kNotInUseMessage = QStringLiteral("现在台桌不在[使用]状态，所以不能进行[结帐]！");
inline const QString kSettleQuestion = QStringLiteral("请确认是否进行结帐处理，请选择(是/否)！");
inline const QString kOverReceivableMessage = QStringLiteral("输入的实收金额大于应收金额，请重新输入！");
inline const QString kNoSuchMemberMessage = QStringLiteral("会员卡号或密码不正确，请重新输入！");
inline const QString kCheckoutPermission = QStringLiteral("AP");
inline const QString kDiscountPermission = QStringLiteral("DA");

// The settle step's writes, inside the caller's transaction, for bill `g` on table `tableCode`
// (read there in state `held`), which carries the settled figures (applySettlement): the member
// card and the credit account charged (refused, StepRefused, when the balance no longer covers
// the charge), the bill, the service and discount rates of `lines`, the lines settled on the
// bill's business date with the names of their kind, output point, item and unit as they are
// now, one payment row per method of `payments`, the order still staged for the bill gone, and
// the table settled with the bill's name and receivable.
void writeSettlement(Database& db, const QString& tableCode, const QString& held, billing::GuestRecord& g,
                     const QList<billing::BillLine>& lines, const QList<PaymentRow>& payments,
                     const QString& shiftName);

class CheckoutSession {
  public:
    CheckoutSession(Database& db, const Clock& clock);

    // Enters checkout of the table's current bill: re-reads table and bill, refuses
    // (StepRefused kNotInUseMessage) a settled table, and one another workstation changed;
    // clears the description, tax and discount figures, recomputes by the clock, sets every
    // line's discount rate back to 100 and saves the bill, in one transaction. Every payment
    // amount starts at 0, no card and no credit guest.
    void enter(const QString& tableCode);

    // Tax is configured (a rate or an amount per guest): entering asks whether to add it.
    bool taxConfigured() const;
    QString taxQuestion() const;
    // The operator agreed: the tax is added and stays on through every recomputation.
    void addTax(double guestsTyped);

    // The recomputations while checkout is active. `guestsTyped` is the people field as typed.
    void chooseMode(const QString& modeCode, const QString& guestsTyped);
    void changeGuests(const QString& guestsTyped);
    void chooseScheme(const QString& scheme, const QString& rateTyped);
    void typeRate(const QString& rateTyped);

    // "实收金额": false (and the receivable kept) when the amount is above the receivable.
    bool setCollected(double amount);
    void setGuestName(const QString& name) { bill_.bill.tabl_gues_name = name; }
    void setCommission(const QString& staffCode, const QString& kind);

    void setAmount(int row, double amount);
    // "重置": every amount back to 0, no waiver, no charges, the collected amount at the receivable.
    void resetPayments();

    // "确定" on the member tab: false when no member has this card and password; the guest's
    // name becomes the member's (empty when none matches).
    bool chooseMember(const QString& cardCode, const QString& password);
    void clearMember() { tender_.member.reset(); }
    // A credit guest chosen from the list: the guest's name becomes theirs.
    void chooseCredit(const CreditGuest& guest);
    void clearCredit() { tender_.credit.reset(); }

    // The settle step up to its confirmation, as the preview and the settle button run it: the
    // answer holds the refusal, or the figures the bill is settled with. The waiver it finds is
    // kept for the next attempt; the amounts typed are otherwise left as they were.
    Settlement prepare();

    // The settle transaction for `settlement` (from prepare(), accepted by the operator):
    // in one transaction re-reads the table, the bill, the card and the credit guest and refuses
    // (StepRefused) when another workstation settled the bill or the balance no longer covers
    // the charge; otherwise writes the bill with its names, its lines, one payment row per
    // method, the balances (relative to what the database holds) and the table as settled.
    // Any other failure rolls everything back and throws CodedFailure B100001.
    void settle(const Settlement& settlement, const Cashier& cashier);

    // "回退": nothing typed is kept; the bill as saved at entry is recomputed by the clock and saved,
    // while it is still the open bill of its table. One another workstation merged, moved,
    // settled or cleared meanwhile is left as it is: false then, and the way back (to the
    // table's work screen) finds the table changed.
    bool back();

    bool active() const { return active_; }
    const billing::BillSettings& settings() const { return settings_; }
    const billing::GuestRecord& guest() const { return bill_.bill; }
    const billing::BillSnapshot& bill() const { return bill_; }
    const Tender& tender() const { return tender_; }
    const QString& tableCode() const { return tableCode_; }
    const QString& tableName() const { return tableName_; }
    const QString& consTypeName() const { return consTypeName_; }
    // The lists the checkout screen offers, read as the bill entered checkout.
    const CheckoutChoices& choices() const { return choices_; }

  private:
    void discountAndTax(int rate);
    void followReceivable();
    int typedRate(const QString& text) const;
    static int guestsOf(const QString& text);

    Database& db_;
    const Clock& clock_;
    billing::BillSettings settings_;
    billing::BillSnapshot bill_;
    Tender tender_;
    QString tableCode_;
    QString tableName_;
    QString consTypeName_;
    CheckoutChoices choices_;
    bool active_ = false;
};

} // namespace sorrel::checkout
