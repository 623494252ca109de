// The table-life buttons of the work screen: "转台" and "并台" with their small panel, "清台 -"
// and "续单". Each checks what the operator sees, asks, runs its step and shows the outcome;
// a step another workstation overtook is answered with its message.
#pragma once

#include "frontdesk/context/front_desk_context.h"

#include <QObject>
#include <functional>

namespace sorrel::tables {
class WorkScreen;
}
namespace sorrel::table_life {
class MovePanel;
}

namespace sorrel::frontdesk {

using table_life::MovePanel;
using tables::WorkScreen;

class TableLifeDesk : public QObject {
    Q_OBJECT
  public:
    TableLifeDesk(const FrontDeskContext& context, WorkScreen* work, QObject* parent);

    MovePanel* movePanel() const { return panel_; }

  signals:
    // The bill now sits at `tableCode` (transferred or merged there): the board selects it.
    void moved(const QString& tableCode);
    // The work screen is done with `tableCode` (cleared, or changed elsewhere): back to the board.
    void finished(const QString& tableCode);

  private:
    enum class Move { None, Transfer, Merge };
    void startMove(Move move);
    void confirmMove(const QString& target);
    void endMove();
    // The check and the question of clearing and resuming, then `step` on the table and bill
    // shown; false when the table is not settled, the operator said no or the step was refused.
    bool onSettledBill(const QString& notSettled, const QString& question,
                       const std::function<void(const QString&, int)>& step);
    void clear();
    void resume();
    void showTable(const QString& tableCode);
    void refused(const QString& text);

    const FrontDeskContext& context_;
    WorkScreen* work_;
    MovePanel* panel_;
    Move move_ = Move::None;
};

} // namespace sorrel::frontdesk
