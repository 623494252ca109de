#include "frontdesk/tables/board_screen.h"

#include "common/business_day.h"
#include "common/db/errors.h"
#include "common/messages.h"
#include "common/tables/table_refusals.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/panel_host.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/tables/about_panel.h"
#include "frontdesk/tables/board_column_panel.h"
#include "frontdesk/tables/board_views_panel.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "frontdesk/tables/table_state.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::tables {

namespace {

constexpr int kViewsWidth = 602;
// Keys pressed less than this long ago mean the operator is still typing.
constexpr int kTypingPauseMs = 2000;

} // namespace

BoardScreen::BoardScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_TableState"));

    using namespace board_tool;
    toolbar_ =
        new ui::ToolStrip(QStringLiteral("Panel2"),
                          {
                              {kView, tables::viewCaption(board_.view()), QStyle::SP_FileDialogListView},
                              {kDay, QStringLiteral("日始/日结"), QStyle::SP_BrowserReload},
                              {kReports, QStringLiteral("报表"), QStyle::SP_FileDialogDetailedView},
                              {kSettings, QStringLiteral("设置"), QStyle::SP_FileDialogContentsView},
                              {kRelogin, QStringLiteral("重新登录"), QStyle::SP_DialogResetButton},
                              {kAbout, QStringLiteral("关于"), QStyle::SP_MessageBoxInformation},
                              {kHelp, QStringLiteral("帮助"), QStyle::SP_DialogHelpButton},
                              {kSort, tables::sortCaption(board_.sort()), QStyle::SP_ArrowDown},
                              {kExit, QStringLiteral("退出"), QStyle::SP_DialogCloseButton},
                          },
                          this);

    views_ = new QWidget(this);
    views_->setObjectName(QStringLiteral("pnl_TableStateP"));
    // The board's width in the smallest window; a larger one gives the tables its room.
    views_->setMinimumWidth(kViewsWidth);
    graphic_ = new GraphicBoard(views_);
    list_ = new ListBoard(views_);
    legend_ = new LegendBoard(views_);
    list_->hide();
    legend_->hide();
    column_ = new BoardColumn(this);

    auto* below = new QHBoxLayout;
    below->setContentsMargins(0, 0, 0, 0);
    below->setSpacing(0);
    below->addWidget(views_, 1);
    below->addWidget(column_);
    auto* screen = new QVBoxLayout(this);
    screen->setContentsMargins(0, 0, 0, 0);
    screen->setSpacing(0);
    screen->addWidget(toolbar_);
    screen->addLayout(below, 1);

    login_ = new LoginBox(context_.session, this);
    about_ = new AboutPanel(this);
    about_->hide();

    ui::connectGuarded(login_, &LoginBox::accepted, this, &BoardScreen::acceptLogin);
    ui::connectGuarded(login_, &LoginBox::exitRequested, this, &BoardScreen::exitRequested);
    ui::connectGuarded(toolbar_->button(kView), &QToolButton::clicked, this, [this] {
        board_.cycleView();
        showView();
        refreshViews(true);
    });
    ui::connectGuarded(toolbar_->button(kSort), &QToolButton::clicked, this, [this] {
        board_.cycleSort();
        requery();
    });
    ui::connectGuarded(toolbar_->button(kRelogin), &QToolButton::clicked, this, [this] { relogin(); });
    ui::connectGuarded(toolbar_->button(kAbout), &QToolButton::clicked, this, [this] { showAbout(true); });
    ui::connectGuarded(about_, &ui::TitledBox::closeClicked, this, [this] { showAbout(false); });
    ui::connectGuarded(toolbar_->button(kHelp), &QToolButton::clicked, this, &BoardScreen::helpRequested);
    ui::connectGuarded(toolbar_->button(kExit), &QToolButton::clicked, this, &BoardScreen::exitRequested);

    ui::connectGuarded(graphic_, &GraphicBoard::pressed, this, &BoardScreen::pressTable);
    ui::connectGuarded(list_, &ListBoard::pressed, this, &BoardScreen::pressTable);
    ui::connectGuarded(graphic_, &GraphicBoard::activated, this, &BoardScreen::chooseTable);
    ui::connectGuarded(list_, &ListBoard::activated, this, &BoardScreen::chooseTable);
    ui::connectGuarded(graphic_, &GraphicBoard::menuRequested, this, &BoardScreen::openStateMenu);
    ui::connectGuarded(list_, &ListBoard::menuRequested, this, &BoardScreen::openStateMenu);
    ui::connectGuarded(column_, &BoardColumn::departmentChosen, this, [this](const QString& code) {
        board_.selectDepartment(code);
        refreshViews(true);
    });
    ui::connectGuarded(column_, &BoardColumn::typeChosen, this, [this](const QString& code) {
        board_.selectType(code);
        refreshViews(true);
    });
    ui::connectGuarded(searchBox(), &QLineEdit::textEdited, this, &BoardScreen::search);

    live_ = new QTimer(this);
    live_->setInterval(kLiveRefreshMs);
    ui::connectGuarded(live_, &QTimer::timeout, this, &BoardScreen::refreshLive);
    live_->start();
    qApp->installEventFilter(this);
    bindKeys();
    showLoginBox();
}

BoardScreen::~BoardScreen() {
    qApp->removeEventFilter(this);
}

QLineEdit* BoardScreen::searchBox() const {
    return column_->searchBox();
}

void BoardScreen::bindKeys() {
    for (QWidget* panel : {static_cast<QWidget*>(this), static_cast<QWidget*>(graphic_)}) {
        context_.keyboard.bind(panel, Qt::Key_F12, [this] {
            if (!loginBoxShown()) searchBox()->setFocus();
        });
        context_.keyboard.bind(panel, Qt::Key_Escape, [this] { emit exitRequested(); });
        context_.keyboard.bind(
            panel, Qt::Key_Plus,
            [this] {
                if (!loginBoxShown() && !board_.selectedCode().isEmpty())
                    emit tableChosen(board_.selectedCode());
            },
            ui::KeyOrigin::Keypad);
    }
}

void BoardScreen::centreOverBoard(QWidget* box) {
    box->move((width() - box->width()) / 2,
              ui::ToolStrip::kHeight + (height() - ui::ToolStrip::kHeight - box->height()) / 2);
}

void BoardScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    centreOverBoard(login_);
    centreOverBoard(about_);
}

bool BoardScreen::loginBoxShown() const {
    return !login_->isHidden();
}

void BoardScreen::showLoginBox() {
    views_->hide();
    column_->hide();
    toolbar_->setLive(false);
    centreOverBoard(login_);
    login_->show();
    login_->raise();
}

void BoardScreen::relogin(const QString& action) {
    showLoginBox();
    login_->reset();
    context_.session.relogin(action);
    login_->focusShiftList();
    emit loggedOut();
}

void BoardScreen::showBusinessDate(const QDate& businessDate) {
    column_->setBusinessDate(QStringLiteral("营业日期：") +
                             businessDate.toString(QStringLiteral("yyyy-MM-dd")));
}

void BoardScreen::acceptLogin() {
    login_->hide();
    views_->show();
    column_->show();
    toolbar_->setLive(true);
    column_->setShift(context_.session.shiftName(), context_.settings().timeWork.date());
    board_.load(context_.db);
    refreshViews(true);
    // Finding a table by its code is the first thing done on the board.
    searchBox()->setFocus();
    emit loggedIn();
}

void BoardScreen::showAbout(bool shown) {
    toolbar_->setEnabled(!shown);
    views_->setEnabled(!shown);
    column_->setEnabled(!shown);
    if (shown) {
        centreOverBoard(about_);
        about_->show();
        about_->raise();
    } else {
        about_->hide();
    }
}

void BoardScreen::present() {
    context_.navigator.showPanel(this, context_.host, false);
    showView();
    context_.navigator.setCurrentPanel(graphic_);
}

void BoardScreen::showView() {
    // The views are shown inside the board without becoming the current panel: the board's keys
    // stay bound to the graphic view whichever is shown.
    QWidget* view = board_.view() == tables::BoardView::Graphic ? static_cast<QWidget*>(graphic_)
                    : board_.view() == tables::BoardView::List  ? static_cast<QWidget*>(list_)
                                                                : static_cast<QWidget*>(legend_);
    context_.navigator.showPanel(view, views_, false);
    toolbar_->button(board_tool::kView)->setText(tables::viewCaption(board_.view()));
}

void BoardScreen::returnFrom(const QString& tableCode) {
    board_.load(context_.db);
    board_.select(tableCode);
    refreshViews(true);
    present();
    searchBox()->setEnabled(true);
    searchBox()->setFocus();
}

void BoardScreen::requery() {
    board_.requery(context_.db);
    refreshViews(false);
}

void BoardScreen::reveal(const QString& tableCode) {
    board_.requery(context_.db);
    board_.reveal(tableCode);
    refreshViews(true);
}

void BoardScreen::refreshViews(bool reveal) {
    const QList<tables::BoardTable> shown = board_.shown();
    graphic_->setTables(shown, board_.selectedCode(), reveal);
    list_->setTables(shown, board_.selectedCode(), reveal);
    legend_->setCounts(board_.departmentName(), board_.typeName(), board_.stateCounts());
    column_->showBoard(board_);
    toolbar_->button(board_tool::kSort)->setText(tables::sortCaption(board_.sort()));
}

void BoardScreen::pressTable(const QString& code) {
    board_.select(code);
    refreshViews(false);
    searchBox()->setFocus();
}

void BoardScreen::chooseTable(const QString& code) {
    board_.select(code);
    refreshViews(false);
    emit tableChosen(code);
}

void BoardScreen::openStateMenu(const QString& code, const QPoint& globalPos) {
    board_.select(code);
    refreshViews(false);
    const std::optional<tables::BoardTable> table = board_.selected();
    if (!table) return;
    const QList<tables::StateAction> items = tables::stateMenu(table->state);
    // A table with nothing to offer (a settled one) opens no menu at all.
    if (items.isEmpty()) return;
    delete menu_;
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("pm_TableState"));
    menu_->setAttribute(Qt::WA_DeleteOnClose);
    for (tables::StateAction item : items) {
        QAction* action = menu_->addAction(tables::stateActionCaption(item));
        switch (item) {
        case tables::StateAction::Open:
            ui::connectGuarded(action, &QAction::triggered, this, [this, code] { emit tableChosen(code); });
            break;
        case tables::StateAction::Disable:
            ui::connectGuarded(action, &QAction::triggered, this, [this, code] { changeUse(code, false); });
            break;
        case tables::StateAction::Enable:
            ui::connectGuarded(action, &QAction::triggered, this, [this, code] { changeUse(code, true); });
            break;
        case tables::StateAction::Book:
            ui::connectGuarded(action, &QAction::triggered, this,
                               [this, code] { emit bookingRequested(code); });
            break;
        case tables::StateAction::ReverseSettle:
            ui::connectGuarded(action, &QAction::triggered, this,
                               [this, code] { emit reverseRequested(code); });
            break;
        }
    }
    menu_->popup(globalPos);
}

void BoardScreen::changeUse(const QString& code, bool enable) {
    try {
        enable ? tables::enableTable(context_.db, code) : tables::disableTable(context_.db, code);
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
    }
    requery();
}

void BoardScreen::search(const QString& typed) {
    const tables::SearchOutcome outcome = board_.search(typed);
    refreshViews(true);
    if (!outcome.message.isEmpty()) messages::information(outcome.message);
    if (outcome.clearBox) searchBox()->clear();
}

bool BoardScreen::isCurrent() const {
    const QWidget* current = context_.navigator.currentPanel();
    return isVisible() && (current == this || current == graphic_);
}

bool BoardScreen::operatorBusy() const {
    return loginBoxShown() || !about_->isHidden() || !searchBox()->text().isEmpty() ||
           (sinceKey_.isValid() && sinceKey_.elapsed() < kTypingPauseMs) ||
           QApplication::activePopupWidget() || QApplication::activeModalWidget() ||
           QApplication::mouseButtons() != Qt::NoButton;
}

void BoardScreen::refreshLive() {
    if (!isCurrent() || operatorBusy()) return;
    try {
        board_.requery(context_.db);
    } catch (const DbError&) {
        // The server may be restarting; the next round tries again, and the operator is not
        // interrupted by a refresh nobody asked for.
        return;
    }
    refreshViews(false);
}

bool BoardScreen::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the program passes here: the cheap test comes first.
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                       type == QEvent::ContextMenu;
    if (!press && type != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !isVisible() || !(views_->isAncestorOf(widget) || column_->isAncestorOf(widget)))
        return false;
    if (!press) {
        sinceKey_.restart();
        return false;
    }
    // Nothing on the board can be touched while no business day is open.
    if (ui::runGuarded([this] { return businessDayOpen(context_.db); }, true)) return false;
    messages::information(kDayNotStartedMessage);
    return true;
}

} // namespace sorrel::tables
