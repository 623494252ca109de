// The day panel (pnl_Day), opened by "日始/日结": the state of the business day, the automatic
// rollover switch, the other income typed in during the day, and day start and day end.
#pragma once

#include "common/business_day.h"
#include "common/db/recordset.h"
#include "frontdesk/context/front_desk_context.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
} // namespace sorrel::ui

namespace sorrel::day {

namespace day_tool {
inline constexpr char kStart[] = "toolb_DayStart";
inline constexpr char kEnd[] = "toolb_DayEnd";
inline constexpr char kSave[] = "toolb_DaySave";
inline constexpr char kHelp[] = "toolb_DayHelp";
} // namespace day_tool

class DayPanel : public QWidget {
    Q_OBJECT
  public:
    DayPanel(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Fills the status block and the other income from the database and shows the panel.
    void present();

    void startDay();
    void endDay();
    // "保存回退": posts the rollover switch and the amount being edited, then goes back.
    void saveAndReturn();

    ui::ToolStrip* toolbar() const { return toolbar_; }

  signals:
    void dayStarted(const QDate& businessDate);
    void back();

  private:
    void showStatus();
    void loadIncome();
    // The operator chose another item: the amount typed for the last one is posted first.
    void chooseIncome(int row);
    void showIncome(int row);
    // The amount in the box for the chosen item; InvalidInput when it is not a number.
    std::optional<OtherIncomeEdit> typedIncome() const;
    void postTypedIncome();

    const frontdesk::FrontDeskContext& context_;
    ui::ToolStrip* toolbar_;
    QLabel* state_;
    QLabel* timeCaption_;
    QLabel* time_;
    QCheckBox* workAuto_;
    QCheckBox* workBack_;
    ui::TextGrid* income_;
    QLabel* incomeName_;
    QLineEdit* amount_;
    RecordSet incomeRows_;
    int chosen_ = -1;
};

} // namespace sorrel::day
