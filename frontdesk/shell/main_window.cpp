#include "frontdesk/shell/main_window.h"

#include "common/db_datetime.h"
#include "common/installation/backup.h"
#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/ui/help_page.h"
#include "common/ui/plain_text_fields.h"
#include "common/ui/screen_placement.h"
#include "common/ui/tool_strip.h"
#include "common/window_placement.h"
#include "frontdesk/settings/settings_screen.h"
#include "frontdesk/shell/day_desk.h"
#include "frontdesk/shell/reports_desk.h"
#include "frontdesk/shell/table_desk.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/login_panel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::frontdesk {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 543;
constexpr int kStatusHeight = 23;

} // namespace

MainWindow::MainWindow(Database& db, const Clock& clock, const QString& programDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      db_(db), clock_(clock), programDir_(programDir) {
    setObjectName(QStringLiteral("FormWMain"));
    setWindowTitle(kMainCaption);
    // What the task bar shows for the program.
    setWindowIconText(kApplicationTitle);
    // The size of an 800 x 600 screen at the least; maximised, the screens take the room.
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);

    session_ = std::make_unique<LoginSession>(db_, clock_);
    session_->setDayEndBackupFolder(installation::backFolder(programDir));
    navigator_ = new ui::PanelNavigator(this);
    keyboard_ = new ui::KeyboardMap(*navigator_, this);
    enterMovesFocus_ = new ui::EnterMovesFocus(this);

    parent_ = new QWidget(this);
    parent_->setObjectName(QStringLiteral("pnl_Parent"));
    parent_->setMinimumSize(kClientWidth, kClientHeight - kStatusHeight);

    status_ = new ui::StatusBar(clock_, {100, 280, 220, 50}, true, this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(parent_, 1);
    column->addWidget(status_);

    const ProgressReport progress = [this](int percent) { status_->showProgress(percent); };
    context_.reset(new FrontDeskContext{db_, clock_, *session_, *navigator_, *keyboard_, *enterMovesFocus_,
                                        parent_, progress, programDir_});
    desk_ = new TableDesk(*context_, this);
    board_ = desk_->board();
    dayDesk_ = new DayDesk(*context_, board_, this);
    reportsDesk_ = new ReportsDesk(*context_, board_, dayDesk_->reportsMenu(), this);
    board_->loginBox()->setDayProgress(progress);
    settings_ = new settings::SettingsScreen(*context_, parent_);
    settings_->hide();
    ui::connectGuarded(board_->toolbarStrip()->button(tables::board_tool::kSettings), &QToolButton::clicked,
                       settings_, &settings::SettingsScreen::open);
    ui::connectGuarded(settings_, &settings::SettingsScreen::back, this,
                       [this] { board_->returnFrom(board_->tables().selectedCode()); });
    ui::connectGuarded(board_, &BoardScreen::loggedIn, this, [this] {
        statusPanel(2)->setText(session_->operatorCaption());
        statusPanel(1)->setText(session_->userCaption());
    });
    ui::connectGuarded(board_, &BoardScreen::loggedOut, this, [this] {
        statusPanel(2)->clear();
        statusPanel(1)->clear();
    });
    ui::connectGuarded(board_, &BoardScreen::exitRequested, this, &QWidget::close);
    ui::connectGuarded(board_, &BoardScreen::helpRequested, this, [this] { ui::showHelpPage(programDir_); });
    ui::keepTextFieldsPlain(this);
    ui::placeOnScreen(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::closeWithoutAsking() {
    closing_ = true;
    close();
}

void MainWindow::showBoard() {
    board_->present();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (ui::screenTooSmall()) {
        closing_ = true;
        messages::information(kScreenTooSmallMessage);
        QTimer::singleShot(0, this, ui::guarded(this, &QWidget::close));
        return;
    }
    showBoard();
    board_->showLoginBox();
    board_->loginBox()->reset();
    board_->loginBox()->focusShiftList();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closing_ &&
        !messages::ask(QStringLiteral("请确定是否退出") + messages::title() + QStringLiteral("!"))) {
        event->ignore();
        return;
    }
    // The answer closes the window at once; the exit's line in the log still waits for the disk.
    hide();
    try {
        session_->logExit();
    } catch (const std::exception&) {
        // After a fatal error the database may be what failed; the program closes regardless.
        if (!closing_) {
            // Refused (another workstation is saving): the program stays, with its window.
            show();
            event->ignore();
            throw;
        }
    }
    event->accept();
}

} // namespace sorrel::frontdesk
