// The table work screen (pnl_Work): one table's bill with its order lines, totals and state,
// three information pages cycled by "房台信息", and the way back to the board ("回退", Esc). The
// operations on the bill (ordering, transfer, merge, checkout, clearing, resuming, the kitchen
// ticket) have their buttons here and arrive with their own screens.
#pragma once

#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/tables/table_work.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
} // namespace sorrel::ui

namespace sorrel::tables {

namespace work_tool {
inline constexpr char kResume[] = "toolb_Resume";
inline constexpr char kOrder[] = "toolb_Order";
inline constexpr char kTransfer[] = "toolb_Transfer";
inline constexpr char kMerge[] = "toolb_Merge";
inline constexpr char kCheckout[] = "toolb_Checkout";
inline constexpr char kClear[] = "toolb_Clear";
inline constexpr char kBack[] = "toolb_WorkBack";
inline constexpr char kHelp[] = "toolb_WorkHelp";
inline constexpr char kInfo[] = "toolb_TableInfo";
inline constexpr char kKitchen[] = "toolb_Kitchen";
} // namespace work_tool

class WorkScreen : public QWidget {
    Q_OBJECT
  public:
    WorkScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Shows `work` as the current panel: the room page in the information area, the editable
    // fields enabled only while the bill is open, the focus on the order lines.
    void present(const tables::WorkTable& work);

    ui::ToolStrip* toolbar() const { return toolbar_; }
    QWidget* infoHost() const { return infoHost_; }
    ui::TextGrid* orderLines() const { return lines_; }
    const tables::WorkTable& work() const { return work_; }
    // Reads the bill's lines again and shows them (after the kitchen ticket or a sent mark).
    void reloadLines();

  signals:
    void left(const QString& tableCode);

  private:
    enum Page { Room, Guest, Checkout };
    void showPage(int page);
    void leave();
    void fill();
    void fillLines();

    const frontdesk::FrontDeskContext& context_;
    tables::WorkTable work_;
    ui::ToolStrip* toolbar_;
    QWidget* infoHost_;
    QList<QWidget*> pages_;
    int page_ = Room;
    QMap<QString, QLabel*> values_; // the shown values, by caption
    QLineEdit* userNumber_;
    QLineEdit* remark_;
    QComboBox* staff_;
    QComboBox* commission_;
    QLabel* consType_;
    QLabel* stateIcon_;
    ui::TextGrid* lines_;
};

} // namespace sorrel::tables
