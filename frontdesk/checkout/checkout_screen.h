// The checkout screen (pnl_Bill): one bill's amounts, the guest and party, the collected amount
// and the commission, and five tabs: the payments ("付款 +"), the member card ("会员"), the
// credit guest ("挂帐"), the discount ("折扣") and the consumption mode ("消费方式"). From here
// the operator settles ("结帐 *"), prints ("打印 /") or previews ("预览 F10") the bill, or goes
// back ("回退"). The screen shows and calls; the checkout logic computes and writes.
#pragma once

#include "common/document/document.h"
#include "frontdesk/checkout/bill_print.h"
#include "frontdesk/checkout/checkout.h"
#include "frontdesk/context/front_desk_context.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
namespace print {
struct PrintTarget;
}
} // namespace sorrel::ui

namespace sorrel::checkout {

namespace bill_tool {
inline constexpr char kSettle[] = "toolb_Settle";
inline constexpr char kPrint[] = "toolb_BillPrint";
inline constexpr char kPreview[] = "toolb_BillPreview";
inline constexpr char kBack[] = "toolb_BillBack";
inline constexpr char kHelp[] = "toolb_BillHelp";
} // namespace bill_tool

class CheckoutScreen : public QWidget {
    Q_OBJECT
  public:
    enum Tab { Payment, Member, Credit, Discount, Mode };
    using Printer = std::function<void(const document::Document&, const ui::print::PrintTarget&)>;

    CheckoutScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Enters checkout of the table's bill and shows the screen on the payment tab, the focus on
    // the amount field; a refused entry shows its message and stays where it was.
    bool start(const QString& tableCode);

    // The bill as the preview and the print show it now; nothing when the settle step's checks
    // refuse (the message has been shown).
    std::optional<checkout::BillPrint> billPrint();
    // Where the bill goes; the preview and the printer by default.
    void setPrinter(Printer printer) { printer_ = std::move(printer); }

    const checkout::CheckoutSession& session() const { return session_; }
    ui::ToolStrip* toolbar() const { return toolbar_; }
    QTabWidget* tabs() const { return tabs_; }

  signals:
    void settled(const QString& tableCode);
    void wentBack(const QString& tableCode);
    // Entry or settling found the table or bill changed by another workstation: to the board.
    void tableLost(const QString& tableCode);

  private:
    void settle();
    void printBill(bool preview);
    void back();
    void fill();
    void fillPayments(int selected);
    void showMember();
    void showCredit(const checkout::CreditGuest* guest);
    void movePayment(int step);
    void toPaymentField();
    void recomputed();
    QString plainAmountText(int row) const;
    QLabel* value(const QString& caption) const;
    QWidget* paymentTab();
    QWidget* memberTab();
    QWidget* creditTab();
    QWidget* discountTab();
    QWidget* modeTab();
    bool eventFilter(QObject* watched, QEvent* event) override;

    const frontdesk::FrontDeskContext& context_;
    checkout::CheckoutSession session_;
    Printer printer_;
    QList<checkout::CreditGuest> creditGuests_;
    bool filling_ = false;
    std::optional<bool> discountAllowed_; // asked once per checkout
    ui::ToolStrip* toolbar_;
    QMap<QString, QLabel*> values_;
    QLineEdit* guestName_;
    QLineEdit* guests_;
    QLineEdit* collected_;
    QComboBox* staff_;
    QComboBox* commission_;
    QLabel* total_;
    QTabWidget* tabs_;
    ui::TextGrid* payments_;
    QLineEdit* amount_;
    QLineEdit* cardCode_;
    QLineEdit* cardPassword_;
    ui::TextGrid* creditList_;
    QComboBox* scheme_;
    QLineEdit* rate_;
    ui::TextGrid* schemeRates_;
    QComboBox* mode_;
    ui::TextGrid* bands_;
};

} // namespace sorrel::checkout
