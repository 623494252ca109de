// What a guest pays with at checkout: the payment methods with the amounts typed for this one
// bill, the member card and the credit guest charged. The amounts belong to the checkout that
// typed them; two cash desks settling two bills at once never see each other's figures.
#pragma once

#include "common/db/database.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/table_work.h"

#include <QList>
#include <QString>
#include <optional>

namespace sorrel::checkout {

// The methods with a fixed role; every other code is an ordinary method whose amount is paid.
namespace PayCode {
inline const QString kCash = QStringLiteral("Z");   // heads the list: the cash handed over
inline const QString kWaiver = QStringLiteral("R"); // 免单: part of the bill not collected
inline const QString kMember = QStringLiteral("M"); // charged to a member card
inline const QString kCredit = QStringLiteral("H"); // charged to a credit guest
} // namespace PayCode

struct PaymentRow {
    QString code = {};
    QString name = {};
    double amount = 0;
};

inline const QString kPointsCard = QStringLiteral("积分卡");

struct MemberCard {
    QString code = {};
    QString name = {};
    QString typeName = {};
    QString cardType = {}; // memb_card_type; a points card cannot pay
    QString phone = {};
    QString company = {};
    QString address = {};
    QString remark = {};
    double used = 0;    // memb_use
    double balance = 0; // memb_surp
    int discountRate = 100;
};

// The member whose card number and password are both exactly these; nothing when none is.
std::optional<MemberCard> findMember(Database& db, const QString& cardCode, const QString& password);

struct CreditGuest {
    QString code = {};
    QString name = {};
    QString company = {};
    QString address = {};
    QString phone = {};
    QString remark = {};
    double limit = 0; // hang_gues_limi
    double owed = 0;  // hang_gues_use
};

struct DiscountScheme {
    QString code = {};
    QString name = {};
};

// What the checkout screen offers, read in one statement as it opens: every payment method,
// highest code first (cash heads the list) and each at 0; the credit guests, the commission
// staff, the discount schemes and the consumption modes, each by code.
struct CheckoutChoices {
    QList<PaymentRow> methods = {};
    QList<CreditGuest> creditGuests = {};
    QList<tables::CommissionStaff> staff = {};
    QList<DiscountScheme> schemes = {};
    QList<tables::ConsMode> modes = {};
};
CheckoutChoices loadCheckoutChoices(Database& db);
// The class rates of scheme `scheme` as the discount tab lists them: class name, percent to pay.
QList<QStringList> schemeClassRates(Database& db, const QString& scheme);

} // namespace sorrel::checkout
