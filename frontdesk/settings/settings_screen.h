// The settings screen (pnl_Setup), opened by the board's "设置" with permission PS: the cashier
// page "收银设置" and the bill-layout page "帐单内容" under one toolbar, saved together by
// "保存回退" or dropped together by "取消回退" (or Esc), both returning to the board.
#pragma once

#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/settings/settings_draft.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;

namespace sorrel::ui {
class ToolStrip;
}

namespace sorrel::settings {

class BillLayoutPanel;

namespace settings_tool {
inline constexpr char kCashier[] = "toolb_SetupPay";
inline constexpr char kLayout[] = "toolb_SetupPrint";
inline constexpr char kSave[] = "toolb_SetupSave";
inline constexpr char kCancel[] = "toolb_SetupCancel";
inline constexpr char kHelp[] = "toolb_SetupHelp";
} // namespace settings_tool

class SettingsScreen : public QWidget {
    Q_OBJECT
  public:
    SettingsScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // "设置": without PS nothing happens (the permission message aside); else the settings as
    // they stand now on the cashier page, "库存预警下限：" focused.
    void open();
    // "收银设置": with PS, the cashier page again, the layout page's changes kept.
    void showCashierPage();
    // "帐单内容": the layout page, its first free line focused.
    void showLayout();
    // "保存回退": what was typed is taken (a mistyped number keeps the page), both pages saved
    // in one transaction, then the board.
    void saveAndReturn();
    // "取消回退" and Esc: nothing saved, the board.
    void cancelAndReturn();

    ui::ToolStrip* toolbar() const { return toolbar_; }
    QWidget* cashierPage() const { return cashier_; }
    BillLayoutPanel* layoutPage() const { return layout_; }
    const SettingsDraft& draft() const { return draft_; }

  signals:
    void back();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showCashier();
    void showCashierValues();
    void enableTaxFields();
    void chooseTaxType(const QString& type);
    // The numbers typed into the cashier page, into the draft; InvalidInput when one is no number.
    void takeTyped();

    const frontdesk::FrontDeskContext& context_;
    SettingsDraft draft_;
    ui::ToolStrip* toolbar_;
    QStackedWidget* pages_;
    QWidget* cashier_;
    BillLayoutPanel* layout_;
    QLineEdit* stockLimit_;
    QComboBox* taxType_;
    QLineEdit* taxPerGuest_;
    QLineEdit* taxPercent_;
    QComboBox* lineRounding_;
    QComboBox* sumRounding_;
    QCheckBox* autoKitchen_;
    bool showing_ = false;
};

} // namespace sorrel::settings
