// The ordering screen (pnl_ConsItem): the order of one table taken line by line into its staging
// list, items chosen by code or from the kind and class lists, each line's quantity, kind, note
// and commission staff set in the line editor, then committed onto the bill (落单) or given up
// (回退). The keys: F5–F8 the line's kind, F11 the choice by code, F12 the quantity, keypad "*"
// commit, keypad "-" delete, Esc back; Enter does not move the focus here.
#pragma once

#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/ordering/order_entry.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/tables/table_work.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
} // namespace sorrel::ui

namespace sorrel::ordering {

class ItemGrid;
class MenuBrowser;
class NewItemPanel;
class PriceAdjustPanel;

namespace ordering_tool {
inline constexpr char kDelete[] = "toolb_ConsDelete";
inline constexpr char kCommit[] = "toolb_ConsCommit";
inline constexpr char kBack[] = "toolb_ConsBack";
inline constexpr char kOrderedKind[] = "toolb_KindOrdered";
inline constexpr char kReturnedKind[] = "toolb_KindReturned";
inline constexpr char kGiftKind[] = "toolb_KindGift";
inline constexpr char kGiftReturnedKind[] = "toolb_KindGiftReturned";
inline constexpr char kPrice[] = "toolb_PriceAdjust";
inline constexpr char kByCode[] = "toolb_ByCode";
inline constexpr char kByList[] = "toolb_ByList";
inline constexpr char kNewItem[] = "toolb_NewItem";
} // namespace ordering_tool

inline const QString kDeleteLineQuestion =
    QStringLiteral("请确定是否删除所选项目，删除后将不能恢复，请慎重!");
inline const QString kBackQuestion =
    QStringLiteral("请确定是否作废所选消费项目并返回操作界面，请选择(是/否)！");
inline const QString kCommitQuestion =
    QStringLiteral("请确定是否将所选[消费项目]作落单处理，请选择(是/否)！");

class OrderingScreen : public QWidget {
    Q_OBJECT
  public:
    OrderingScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);
    ~OrderingScreen() override;

    // Enters ordering for the work screen's table; false (the operator told why) when refused.
    bool start(const tables::WorkTable& work);

    ui::ToolStrip* toolbar() const { return toolbar_; }
    QLineEdit* searchField() const { return search_; }
    QLineEdit* quantityField() const { return quantity_; }
    QLineEdit* priceField() const { return price_; }
    ItemGrid* codeItems() const { return codeItems_; }
    ItemGrid* listItems() const { return listItems_; }
    MenuBrowser* listMenu() const { return listMenu_; }
    ui::TextGrid* stagedLines() const { return staged_; }
    QWidget* codePanel() const { return codePanel_; }
    QWidget* listPanel() const { return listPanel_; }
    PriceAdjustPanel* pricePanel() const { return pricePanel_; }
    NewItemPanel* newItemPanel() const { return newItemPanel_; }

  signals:
    // Back on the table's work screen: the bill as committed, or as it was when given up.
    void returned(const tables::WorkTable& work);
    // The commit found its table or bill changed by another workstation: to the board.
    void tableLost(const QString& tableCode);

  private:
    void closePanels();
    void showCodePanel();
    void showListPanel();
    void search(const QString& typed);
    void searchEntered();
    void choose(const OrderItem& item);
    void takeOff(const OrderItem& item);
    void reloadLines(int select);
    void currentLineChanged();
    void loadEditor(const std::optional<StagedLine>& line);
    void enableEditor(bool enabled);
    LineEdit typedLine() const;
    void validate();
    void quantityFinished();
    void quantityEntered();
    void priceEntered();
    void setKind(const QString& kind);
    void postDetails();
    void deleteLine();
    void back();
    void commit();
    void leave(const tables::WorkTable& work);
    void adjustPrice();
    void setScreenEnabled(bool enabled);
    void focusChoice();
    void reloadItems();
    int currentLineId() const;

    const frontdesk::FrontDeskContext& context_;
    tables::WorkTable work_;
    std::unique_ptr<OrderStaging> staging_;
    // The roundings as they stood when ordering began: settings saved at another desk count
    // from the next order.
    billing::BillSettings settings_;
    QList<StagedLine> lines_;
    bool checking_ = false;

    ui::ToolStrip* toolbar_;
    QLabel* itemCode_;
    QLabel* itemName_;
    QLabel* itemUnit_;
    QLabel* stock_;
    QLineEdit* price_;
    QLineEdit* quantity_;
    QComboBox* note_;
    QComboBox* kind_;
    QComboBox* staff_;
    ui::TextGrid* staged_;
    QWidget* choiceHost_;
    QWidget* codePanel_;
    QLineEdit* search_;
    ItemGrid* codeItems_;
    QWidget* listPanel_;
    MenuBrowser* listMenu_;
    ItemGrid* listItems_;
    PriceAdjustPanel* pricePanel_;
    NewItemPanel* newItemPanel_;
};

} // namespace sorrel::ordering
