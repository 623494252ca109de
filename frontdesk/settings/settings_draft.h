// The front desk's settings screen as data: the cashier settings (SetupPay) and the bill layout
// (setupprint) as read and as the manager has changed them, the fixed choices of each field,
// and the saves. Only the columns the two pages show are ever written, and only those changed:
// the bill counter, the business day, the operator and the system password are never written
// from here, whatever another workstation has put in them meanwhile.
#pragma once

#include "common/db/database.h"
#include "common/settings_row.h"

#include <QStringList>

namespace sorrel::settings {

inline const QString kSettingsPermission = QStringLiteral("PS");
inline const QString kDefaultLayoutQuestion = QStringLiteral("是否重置为默认帐单格式，请确定操作!");

// The cashier page's columns.
inline const QString kStockLimit = QStringLiteral("pay_set_stor_limi");
inline const QString kTaxType = QStringLiteral("pay_set_tax_type");
inline const QString kTaxPerGuest = QStringLiteral("pay_set_tax_mone");
inline const QString kTaxPercent = QStringLiteral("pay_set_tax_perc");
inline const QString kLineRounding = QStringLiteral("pay_set_item_int");
inline const QString kSumRounding = QStringLiteral("pay_set_sum_int");
inline const QString kAutoKitchen = QStringLiteral("pay_set_auto_manu");

// The fixed lists: every value each field can take.
QStringList taxTypeChoices();
QStringList lineRoundingChoices();
QStringList sumRoundingChoices();

// The layout page's columns. `cell` counts the 14 header cells 0-13 (11, 12, 21, … 72).
QString captionColumn(int cell);
QString fieldColumn(int cell);
QString rowSwitchColumn(int row); // row 0-6
// The section switches as the page lists them: column and caption.
struct SectionSwitch {
    QString column;
    QString caption;
};
const QList<SectionSwitch>& sectionSwitches();
inline const QString kFreeLine1 = QStringLiteral("set_prn_d1_text");
inline const QString kFreeLine2 = QStringLiteral("set_prn_d2_text");
inline const QString kFreeLine1Switch = QStringLiteral("set_prn_d1_allo");
inline const QString kFreeLine2Switch = QStringLiteral("set_prn_d2_allo");
// The longest a free line may be (its column's length).
inline constexpr int kFreeLineLength = 60;
// The 14 captions a header cell offers.
QStringList headerCaptions();

// The typed numbers of the cashier page; InvalidInput when the text is no such number.
int parseStockLimit(const QString& text);     // a whole number, 0 or more
double parseTaxPerGuest(const QString& text); // an amount with cents, 0 or more
double parseTaxPercent(const QString& text);  // "##.#": 0 to 99.9, one decimal
// The percentage as the page shows it: "##.#%".
QString taxPercentText(double percent);

class SettingsDraft {
  public:
    // Both records as they stand now; DbError unless each holds one row.
    static SettingsDraft load(Database& db);

    const SettingsValues& cashier() const { return cashier_; }
    const SettingsValues& layout() const { return layout_; }
    QVariant cashierValue(const QString& column) const { return cashier_.value(column); }
    QVariant layoutValue(const QString& column) const { return layout_.value(column); }
    bool changed() const { return cashier_ != cashierAsRead_ || layout_ != layoutAsRead_; }

    // A column the page edits; a column it does not show is a programming error (logic_error).
    void setCashier(const QString& column, const QVariant& value);
    void setLayout(const QString& column, const QVariant& value);
    // "收税方式：": the tax field of the other type is cleared to 0.
    void setTaxType(const QString& type);
    bool taxPerGuestEditable() const;
    // A header cell's caption: its column follows.
    void chooseCaption(int cell, const QString& caption);

    // "保存回退": both pages in one transaction, only the changed columns; StepRefused (nothing
    // written) when another workstation changed one of them since they were read.
    void save(Database& db) const;
    // "默认", answered Yes: the 14 captions and their columns of the default layout written at
    // once in their own transaction; the page's other changes stay pending.
    void resetHeader(Database& db);

  private:
    SettingsValues cashierAsRead_, cashier_, layoutAsRead_, layout_;
};

} // namespace sorrel::settings
