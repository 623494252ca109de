#include "frontdesk/shell/day_desk.h"

#include "common/db/errors.h"
#include "common/installation/backup.h"
#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/venue_reset.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/day/day_panel.h"
#include "frontdesk/day/handover_screen.h"
#include "frontdesk/day/statistics_screen.h"
#include "frontdesk/tables/board_screen.h"

#include <QMenu>
#include <QToolButton>

namespace sorrel::frontdesk {

DayDesk::DayDesk(const FrontDeskContext& context, BoardScreen* board, QObject* parent)
    : QObject(parent), context_(context), board_(board) {
    day_ = new DayPanel(context_, context_.host);
    statistics_ = new StatisticsScreen(context_, context_.host);
    handover_ = new HandoverScreen(context_, context_.host);
    for (QWidget* screen :
         {static_cast<QWidget*>(day_), static_cast<QWidget*>(statistics_), static_cast<QWidget*>(handover_)})
        screen->hide();

    QToolButton* reportsButton = board_->toolbarStrip()->button(tables::board_tool::kReports);
    reports_ = new QMenu(reportsButton);
    reports_->setObjectName(QStringLiteral("pm_Reports"));
    ui::connectGuarded(reports_->addAction(QStringLiteral("当前营业统计")), &QAction::triggered, statistics_,
                       &StatisticsScreen::present);
    ui::connectGuarded(reports_->addAction(QStringLiteral("员工交班处理")), &QAction::triggered, handover_,
                       &HandoverScreen::present);
    // The last entry of the menu, however the menu above it is made.
    ui::connectGuarded(reports_->addAction(QStringLiteral("初始化数据库")), &QAction::triggered, this,
                       &DayDesk::resetDatabase);
    reportsButton->setMenu(reports_);
    reportsButton->setPopupMode(QToolButton::InstantPopup);

    ui::connectGuarded(board_->toolbarStrip()->button(tables::board_tool::kDay), &QToolButton::clicked, this,
                       &DayDesk::openDayPanel);
    ui::connectGuarded(day_, &DayPanel::dayStarted, board_, &BoardScreen::showBusinessDate);
    ui::connectGuarded(day_, &DayPanel::back, this, &DayDesk::backToBoard);
    ui::connectGuarded(statistics_, &StatisticsScreen::back, this, &DayDesk::backToBoard);
    ui::connectGuarded(handover_, &HandoverScreen::back, this, &DayDesk::backToBoard);
    ui::connectGuarded(handover_, &HandoverScreen::handedOver, this, [this] {
        board_->present();
        board_->relogin(kHandoverReloginAction);
    });
}

void DayDesk::openDayPanel() {
    if (context_.session.limite(kDayPermission)) day_->present();
}

void DayDesk::resetDatabase() {
    if (!context_.session.limite(kResetPermission)) return;
    if (!messages::ask(resetQuestion(context_.db))) return;
    try {
        resetVenue(context_.db, installation::backFolder(context_.programDir), context_.clock,
                   installation::BackupPurpose::BeforeReset);
    } catch (const DbError& e) {
        messages::error(e.reason());
        return;
    }
    board_->present();
}

void DayDesk::backToBoard() {
    board_->returnFrom(board_->tables().selectedCode());
}

} // namespace sorrel::frontdesk
