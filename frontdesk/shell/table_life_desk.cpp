#include "frontdesk/shell/table_life_desk.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/ui/panel_host.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/table_life/move_panel.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/table_life/table_moves.h"
#include "frontdesk/tables/table_state.h"
#include "frontdesk/tables/work_screen.h"

#include <QLineEdit>
#include <QToolButton>

namespace sorrel::frontdesk {

TableLifeDesk::TableLifeDesk(const FrontDeskContext& context, WorkScreen* work, QObject* parent)
    : QObject(parent), context_(context), work_(work) {
    panel_ = new MovePanel(work);
    ui::ToolStrip* tools = work->toolbar();
    ui::connectGuarded(tools->button(tables::work_tool::kTransfer), &QToolButton::clicked, this,
                       [this] { startMove(Move::Transfer); });
    ui::connectGuarded(tools->button(tables::work_tool::kMerge), &QToolButton::clicked, this,
                       [this] { startMove(Move::Merge); });
    ui::connectGuarded(tools->button(tables::work_tool::kClear), &QToolButton::clicked, this,
                       &TableLifeDesk::clear);
    ui::connectGuarded(tools->button(tables::work_tool::kResume), &QToolButton::clicked, this,
                       &TableLifeDesk::resume);
    ui::connectGuarded(panel_, &MovePanel::confirmed, this, &TableLifeDesk::confirmMove);
    ui::connectGuarded(panel_, &MovePanel::cancelled, this, &TableLifeDesk::endMove);
    // Leaving the work screen (Esc, 回退) drops a half-typed transfer or merge with it.
    ui::connectGuarded(&context_.navigator, &ui::PanelNavigator::currentPanelChanged, this,
                       [this](QWidget* panel) {
                           if (panel != work_ && move_ != Move::None) endMove();
                       });
}

void TableLifeDesk::startMove(Move move) {
    if (work_->work().table.state == tables::TableState::kSettled) {
        messages::information(move == Move::Transfer ? table_life::kTransferSettledMessage
                                                     : table_life::kMergeSettledMessage);
        return;
    }
    move_ = move;
    work_->toolbar()->setEnabled(false);
    panel_->ask(move == Move::Transfer ? QStringLiteral("转入台号-") : QStringLiteral("并入台号-"));
}

void TableLifeDesk::confirmMove(const QString& target) {
    const tables::WorkTable& at = work_->work();
    const QString from = at.table.code;
    const bool transfer = move_ == Move::Transfer;
    const std::optional<QString> refusal = transfer
                                               ? table_life::transferTargetRefusal(context_.db, target)
                                               : table_life::mergeTargetRefusal(context_.db, from, target);
    if (refusal) {
        messages::information(*refusal);
        panel_->field()->setFocus();
        return;
    }
    if (!messages::ask(transfer ? table_life::transferQuestion(from, target)
                                : table_life::mergeQuestion(from, target))) {
        endMove();
        return;
    }
    try {
        if (transfer)
            table_life::transferTable(context_.db, from, at.guest.tabl_gues_auto_recn, target);
        else
            table_life::mergeTable(context_.db, from, at.guest.tabl_gues_auto_recn, target,
                                   billing::BillSettings::load(context_.db), context_.clock);
    } catch (const StepRefused& refused) {
        endMove();
        this->refused(refused.text());
        return;
    }
    endMove();
    showTable(target);
    emit moved(target);
    messages::information(transfer ? table_life::transferredMessage(target)
                                   : table_life::mergedMessage(target));
}

void TableLifeDesk::endMove() {
    move_ = Move::None;
    panel_->finish();
    work_->toolbar()->setEnabled(true);
}

bool TableLifeDesk::onSettledBill(const QString& notSettled, const QString& question,
                                  const std::function<void(const QString&, int)>& step) {
    const tables::WorkTable& at = work_->work();
    if (at.table.state != tables::TableState::kSettled) {
        messages::information(notSettled);
        return false;
    }
    if (!messages::ask(question)) return false;
    try {
        step(at.table.code, at.guest.tabl_gues_auto_recn);
    } catch (const StepRefused& refused) {
        this->refused(refused.text());
        return false;
    }
    return true;
}

void TableLifeDesk::clear() {
    const QString code = work_->work().table.code;
    if (onSettledBill(
            table_life::kClearNotSettledMessage, table_life::kClearQuestion,
            [this](const QString& table, int bill) { table_life::clearTable(context_.db, table, bill); }))
        emit finished(code);
}

void TableLifeDesk::resume() {
    if (!context_.session.limite(table_life::kResumePermission)) return;
    const QString code = work_->work().table.code;
    if (onSettledBill(table_life::kResumeNotSettledMessage, table_life::kResumeQuestion,
                      [this](const QString& table, int bill) {
                          table_life::resumeTable(context_.db, table, bill,
                                                  billing::BillSettings::load(context_.db), context_.clock);
                      }))
        showTable(code);
}

void TableLifeDesk::showTable(const QString& tableCode) {
    work_->present(tables::settledTable(context_.db, tableCode));
}

void TableLifeDesk::refused(const QString& text) {
    // What this screen shows is out of date: the board shows the table as it is now.
    messages::information(text);
    emit finished(work_->work().table.code);
}

} // namespace sorrel::frontdesk
