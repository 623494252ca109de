#include "frontdesk/shell/main_window.h"

#include "common/db_datetime.h"
#include "common/messages.h"
#include "common/ui/help_page.h"
#include "common/window_placement.h"
#include "frontdesk/shell/login_box.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/table_desk.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace sorrel::frontdesk {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 543;
constexpr int kStatusHeight = 23;
constexpr int kPanelWidths[] = {100, 280, 220, 50};

} // namespace

MainWindow::MainWindow(Database& db, const Clock& clock, const QString& programDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      db_(db), clock_(clock), programDir_(programDir) {
    setObjectName(QStringLiteral("FormWMain"));
    setWindowTitle(kMainCaption);
    // What the task bar shows for the program.
    setWindowIconText(kApplicationTitle);
    setFixedSize(kClientWidth, kClientHeight);

    session_ = std::make_unique<LoginSession>(db_, clock_);
    navigator_ = new ui::PanelNavigator(this);
    keyboard_ = new ui::KeyboardMap(*navigator_, this);
    enterMovesFocus_ = new ui::EnterMovesFocus(this);

    parent_ = new QWidget(this);
    parent_->setObjectName(QStringLiteral("pnl_Parent"));
    parent_->setFixedSize(kClientWidth, kClientHeight - kStatusHeight);

    auto* status = new QWidget(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setFixedHeight(kStatusHeight);
    auto* statusRow = new QHBoxLayout(status);
    statusRow->setContentsMargins(0, 1, 0, 0);
    statusRow->setSpacing(2);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(status);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i > 0) panel->setAlignment(Qt::AlignCenter);
        // The last panel takes what is left of the width, as status bars do.
        if (i < 3)
            panel->setFixedWidth(kPanelWidths[i]);
        else
            panel->setMinimumWidth(kPanelWidths[i]);
        statusRow->addWidget(panel, i == 3 ? 1 : 0);
        panels_.append(panel);
    }
    progress_ = new QProgressBar(panels_[0]);
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setGeometry(0, 0, kPanelWidths[0], kStatusHeight - 1);
    progress_->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(parent_);
    column->addWidget(status);

    refreshClock();
    auto* clockTimer = new QTimer(this);
    connect(clockTimer, &QTimer::timeout, this, &MainWindow::refreshClock);
    clockTimer->start(1000);

    const ProgressReport progress = [this](int percent) {
        if (progress_->isHidden()) beginProgress();
        setProgress(percent);
        if (percent >= 100) endProgress();
    };
    context_.reset(new FrontDeskContext{db_, clock_, *session_, *navigator_, *keyboard_, *enterMovesFocus_,
                                        parent_, progress});
    desk_ = new TableDesk(*context_, this);
    board_ = desk_->board();
    board_->loginBox()->setDayProgress(progress);
    connect(board_, &BoardScreen::loggedIn, this, [this] {
        panels_[2]->setText(session_->operatorCaption());
        panels_[1]->setText(session_->userCaption());
    });
    connect(board_, &BoardScreen::exitRequested, this, &QWidget::close);
    connect(board_, &BoardScreen::helpRequested, this, [this] {
        if (!ui::openHelpPage(programDir_))
            messages::information(QStringLiteral("无法打开帮助文件：") + ui::helpPagePath(programDir_));
    });
    placeOnScreen();
}

MainWindow::~MainWindow() = default;

QLabel* MainWindow::statusPanel(int index) const {
    return panels_.value(index);
}

void MainWindow::refreshClock() {
    panels_[3]->setText(toDbDateTime(clock_.now()));
}

void MainWindow::placeOnScreen() {
    const QScreen* screen = QApplication::primaryScreen();
    if (!screen) return;
    switch (placementForScreenWidth(screen->geometry().width())) {
    case WindowPlacement::FillWorkArea:
        move(screen->availableGeometry().topLeft());
        break;
    case WindowPlacement::CentreDesktop:
        move(screen->availableGeometry().center() - rect().center());
        break;
    case WindowPlacement::Refuse:
        break;
    }
}

void MainWindow::beginProgress() {
    progress_->setValue(0);
    progress_->show();
}

void MainWindow::setProgress(int percent) {
    progress_->setValue(percent);
    progress_->repaint();
}

void MainWindow::endProgress() {
    progress_->hide();
}

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
    const QScreen* screen = QApplication::primaryScreen();
    if (screen && placementForScreenWidth(screen->geometry().width()) == WindowPlacement::Refuse) {
        closing_ = true;
        messages::information(kScreenTooSmallMessage);
        QTimer::singleShot(0, this, &QWidget::close);
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
    try {
        session_->logExit();
    } catch (const std::exception&) {
        // After a fatal error the database may be what failed; the program closes regardless.
        if (!closing_) throw;
    }
    event->accept();
}

} // namespace sorrel::frontdesk
