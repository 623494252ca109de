// The day operations of the front desk and the roads to them from the board: "日始/日结" opens
// the day panel (permission BE), the "报表" menu "当前营业统计" and "员工交班处理"; each screen
// returns to the board, and the handover ends the shift at the login box. The menu's last entry
// "初始化数据库" (permission PS) empties the venue of its business.
#pragma once

#include "frontdesk/context/front_desk_context.h"

#include <QObject>

class QMenu;

namespace sorrel::tables {
class BoardScreen;
}
namespace sorrel::day {
class DayPanel;
class HandoverScreen;
class StatisticsScreen;
} // namespace sorrel::day

namespace sorrel::frontdesk {

using day::DayPanel;
using day::HandoverScreen;
using day::StatisticsScreen;
using tables::BoardScreen;

inline const QString kDayPermission = QStringLiteral("BE");
// "初始化数据库", the last entry of "报表", asks the settings permission.
inline const QString kResetPermission = QStringLiteral("PS");

class DayDesk : public QObject {
    Q_OBJECT
  public:
    // The screens live in the context's host beside the board.
    DayDesk(const FrontDeskContext& context, BoardScreen* board, QObject* parent);

    DayPanel* dayPanel() const { return day_; }
    StatisticsScreen* statisticsScreen() const { return statistics_; }
    HandoverScreen* handoverScreen() const { return handover_; }
    // The drop-down of the board's "报表" button.
    QMenu* reportsMenu() const { return reports_; }

    void openDayPanel();

  private:
    void backToBoard();
    void resetDatabase();

    const FrontDeskContext& context_;
    BoardScreen* board_;
    DayPanel* day_;
    StatisticsScreen* statistics_;
    HandoverScreen* handover_;
    QMenu* reports_;
};

} // namespace sorrel::frontdesk
