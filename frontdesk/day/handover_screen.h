// "员工交班处理" (pnl_Handover): the opening floats of the shift and their correction, the
// handover sheet as built on opening, its totals, the handover report and the handover.
#pragma once

#include "common/db/recordset.h"
#include "common/document/document.h"
#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/day/shift_handover.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
} // namespace sorrel::ui

namespace sorrel::day {

namespace handover_tool {
inline constexpr char kHandOver[] = "toolb_HandOver";
inline constexpr char kPreview[] = "toolb_HandoverPreview";
inline constexpr char kBack[] = "toolb_HandoverBack";
inline constexpr char kHelp[] = "toolb_HandoverHelp";
} // namespace handover_tool

class HandoverScreen : public QWidget {
    Q_OBJECT
  public:
    HandoverScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Builds the sheet afresh and shows the screen.
    void present();

    // "提交": the float typed for the chosen method.
    void submit();
    // "交班": after its question; the shift ends on this workstation when it went through.
    void handOver();
    // "预览/打印".
    void preview();

    // The report as "预览/打印" prints it now.
    document::Document report() const;
    const day::HandoverSheet& sheet() const { return sheet_; }

  signals:
    void back();
    void handedOver();

  private:
    void loadFloats();
    void chooseFloat(int row);
    void showSheet();

    const frontdesk::FrontDeskContext& context_;
    ui::ToolStrip* toolbar_;
    ui::TextGrid* floatsGrid_;
    QLabel* floatName_;
    QLineEdit* float_;
    QPushButton* submit_;
    QLineEdit* note_;
    QLabel* builtAt_;
    ui::TextGrid* sheetGrid_;
    QList<QLabel*> totals_;
    RecordSet floats_;
    day::HandoverSheet sheet_;
};

} // namespace sorrel::day
