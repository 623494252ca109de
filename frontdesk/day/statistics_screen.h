// "当前营业统计" (pnl_Statistics): per department, the current day's guest records cleared,
// settled and pending with their amounts; the total row in green bold.
#pragma once

#include "frontdesk/context/front_desk_context.h"

#include <QWidget>

class QLabel;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
} // namespace sorrel::ui

namespace sorrel::day {

namespace statistics_tool {
inline constexpr char kBack[] = "toolb_StatBack";
inline constexpr char kHelp[] = "toolb_StatHelp";
} // namespace statistics_tool

class StatisticsScreen : public QWidget {
    Q_OBJECT
  public:
    StatisticsScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Reads the statistics now and shows the screen.
    void present();

    ui::TextGrid* grid() const { return grid_; }

  signals:
    void back();

  private:
    const frontdesk::FrontDeskContext& context_;
    ui::ToolStrip* toolbar_;
    QLabel* time_;
    ui::TextGrid* grid_;
};

} // namespace sorrel::day
