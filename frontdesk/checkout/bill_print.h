// The guest's bill (帐单) as a printed document: its lines merged by kind, item, price and unit,
// the header cells and sections the bill layout (setupprint) switches on, the discount,
// payment, card, credit, change and free lines, and the venue's footer. Built from the figures
// in hand (a preview writes nothing), painted by the one renderer on the sheet or the roll.
#pragma once

#include "common/db/database.h"
#include "common/document/document.h"
#include "common/document/page_format.h"
#include "common/settings_row.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/guest_record.h"
#include "frontdesk/checkout/payments.h"

#include <QDate>
#include <array>

namespace sorrel::checkout {

inline const QString kPrintQuestion = QStringLiteral("请确认是否进行打印帐单处理，请选择(是/否)！");

// One printed row: the bill's lines of one kind, item, unit price and unit added up.
struct BillPrintLine {
    QString kindName;
    QString itemName;
    QString unit;
    double unitPrice = 0;
    double quantity = 0; // returns subtract, gifts count
    double amount = 0;
    double giftValue = 0; // gifts and their returns at the list price, set-meal parts excepted
};

// The rows of bill `bill` whose net quantity is above 0, by kind name.
QList<BillPrintLine> loadBillPrintLines(Database& db, int bill);

struct BillLayout {
    struct HeaderCell {
        QString caption; // set_prn_rc_titl
        QString column;  // set_prn_rc_fiel: the guest-record column shown
    };
    std::array<HeaderCell, 14> cells{}; // rows 1-7, two cells each
    std::array<bool, 7> rows{};
    bool details = false, kinds = false, discount = false, payments = false, change = false;
    bool member = false, memberBalance = false, credit = false, creditAmount = false;
    bool free1 = false, free2 = false;
    QString free1Text, free2Text;
};

// The bill layout as setupprint holds it (nothing printed beyond the lines when it holds no row).
BillLayout loadBillLayout(Database& db);

struct BillPrint {
    billing::GuestRecord guest; // as the settle step's preview left it
    QString tableName;
    QList<BillPrintLine> lines;
    BillLayout layout;
    BusinessIdentity identity;
    QDate businessDate;
    QString operatorName;
    QString changeLine; // empty unless change is due
    std::optional<MemberCard> member;
    std::optional<CreditGuest> credit;
};

document::Document billDocument(const BillPrint& print, const billing::BillSettings& settings);

// The bill on A4: a narrow column at the left of the sheet, about as wide as the roll.
document::PageFormat billSheet();

} // namespace sorrel::checkout
