#include "backoffice/shell/main_window_screen.h"

#include "backoffice/consumption/consumption_navigation.h"
#include "backoffice/consumption/consumption_screen.h"
#include "backoffice/data/user_data_navigation.h"
#include "backoffice/members/member_navigation.h"
#include "backoffice/members/member_screen.h"
#include "backoffice/other_setup/other_navigation.h"
#include "backoffice/other_setup/other_setup_screen.h"
#include "backoffice/rooms/room_navigation.h"
#include "backoffice/rooms/room_screen.h"
#include "backoffice/shell/login_panel.h"
#include "backoffice/staff/staff_navigation.h"
#include "backoffice/staff/staff_screen.h"
#include "backoffice/stock/stock_navigation.h"
#include "backoffice/stock/stock_screen.h"
#include "common/installation/backup.h"
#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/ui/help_page.h"
#include "common/ui/plain_text_fields.h"
#include "common/ui/screen_placement.h"
#include "common/window_placement.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace sorrel::backoffice {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 524;
constexpr int kTreeWidth = 150;

QStyle::StandardPixmap iconOf(panels::ToolButton button) {
    switch (button) {
    case panels::ToolButton::Add:
        return QStyle::SP_FileDialogNewFolder;
    case panels::ToolButton::Delete:
        return QStyle::SP_TrashIcon;
    case panels::ToolButton::Cancel:
        return QStyle::SP_DialogCancelButton;
    case panels::ToolButton::Save:
        return QStyle::SP_DialogSaveButton;
    case panels::ToolButton::Execute:
        return QStyle::SP_MediaPlay;
    case panels::ToolButton::StockAdjust:
        return QStyle::SP_FileDialogDetailedView;
    case panels::ToolButton::Retreat:
        return QStyle::SP_ArrowBack;
    case panels::ToolButton::Query:
        return QStyle::SP_FileDialogContentsView;
    case panels::ToolButton::Help:
        return QStyle::SP_DialogHelpButton;
    }
    return QStyle::SP_FileIcon;
}

} // namespace

MainWindow::MainWindow(Database& db, const Clock& clock, const QString& programDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      db_(db), clock_(clock), programDir_(programDir) {
    setObjectName(QStringLiteral("FormSMain"));
    setWindowTitle(kBackOfficeCaption);
    setWindowIconText(kBackOfficeCaption);
    // The size of an 800 x 600 screen at the least; maximised, the screens take the room.
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);

    session_ = std::make_unique<LoginSession>(db_, clock_, Program::BackOffice);
    session_->setDayEndBackupFolder(installation::backFolder(programDir));
    workspace_ = std::make_unique<panels::Workspace>(*session_);
    consumption_ = std::make_unique<consumption::ConsumptionLists>(db_);
    consumption::registerConsumptionPanels(*workspace_, *consumption_);
    rooms_ = std::make_unique<rooms::RoomLists>(db_);
    rooms::registerRoomPanels(*workspace_, *rooms_);
    otherSetup_ = std::make_unique<other_setup::OtherLists>(db_);
    other_setup::registerOtherPanels(*workspace_, *otherSetup_);
    staff_ = std::make_unique<staff::StaffLists>(db_);
    staff::registerStaffPanels(*workspace_, *staff_);
    // Entries and repayments record this program's operator.
    const members::OperatorSource who = [this] {
        const OperatorEntry* o = session_->currentOperator();
        return o ? *o : OperatorEntry{};
    };
    members_ = std::make_unique<members::MemberLists>(db_, clock_, who);
    credit_ = std::make_unique<members::CreditLists>(db_, clock_, who);
    members::registerMemberPanels(*workspace_, *members_, *credit_);
    stock_ = std::make_unique<stock::StockLists>(db_, clock_, who);
    adjustment_ = std::make_unique<stock::StockAdjustment>(db_);
    stock::registerStockPanels(*workspace_, *stock_, *adjustment_);
    navigator_ = new ui::PanelNavigator(this);
    keyboard_ = new ui::KeyboardMap(*navigator_, this);
    enterMovesFocus_ = new ui::EnterMovesFocus(this);

    auto* menuBar = new QMenuBar(this);
    buildMenus(menuBar);
    toolbar_ = buildToolbar();

    work_ = new QWidget(this);
    work_->setObjectName(QStringLiteral("pnl_Work"));
    context_.reset(new panels::BackOfficeContext{db_, clock_, *session_, *workspace_, *navigator_, *keyboard_,
                                                 work_, programDir_});
    login_ = new LoginPanel(*context_);
    empty_ = new QWidget(work_);
    empty_->setObjectName(QStringLiteral("pnl_Empty"));
    panels_ = consumption::makeConsumptionPanels(*context_, *consumption_);
    panels_.insert(rooms::makeRoomPanels(*context_, *rooms_));
    panels_.insert(other_setup::makeOtherPanels(*context_, *otherSetup_));
    panels_.insert(staff::makeStaffPanels(*context_, *staff_));
    panels_.insert(members::makeMemberPanels(*context_, *members_));
    panels_.insert(members::makeCreditPanels(*context_, *credit_));
    panels_.insert(data::makeUserDataPanels(*context_));
    panels_.insert(stock::makeStockPanels(*context_, *stock_, *adjustment_));
    panels_.insert(stock::makePartnerPanels(*context_, *stock_));
    panels_.insert(stock::makeStockQueryPanels(*context_));
    for (QWidget* p : panels_)
        p->hide();

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(2);
    body->addWidget(buildTrees());
    body->addWidget(work_, 1);

    status_ = new ui::StatusBar(clock_, {250, 150, 200, 50}, false, this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setMenuBar(menuBar);
    column->addWidget(toolbar_);
    column->addLayout(body, 1);
    column->addWidget(status_);

    login_->setDayProgress([this](int percent) { status_->showProgress(percent); });
    ui::connectGuarded(login_, &LoginPanel::accepted, this, &MainWindow::loggedIn);
    ui::connectGuarded(login_, &LoginPanel::exitRequested, this, &QWidget::close);
    ui::connectGuarded(workspace_.get(), &panels::Workspace::changed, this, &MainWindow::sync);

    // Until the login, only the login panel and the help menu can be used.
    for (QMenu* menu : guardedMenus_)
        menu->setEnabled(false);
    trees_->setEnabled(false);
    toolbar_->setEnabled(false);
    sync();
    navigator_->showPanel(login_, work_, true);

    // A paste never brings control characters or half a character into a field of any panel.
    ui::keepTextFieldsPlain(this);
    ui::placeOnScreen(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus(QWidget* bar) {
    auto* menus = static_cast<QMenuBar*>(bar);
    QMenu* settings = menus->addMenu(QStringLiteral("设置中心"));
    QAction* system = settings->addAction(QStringLiteral("系统设置"));
    system->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    settings->addAction(QStringLiteral("管理设置"));
    QMenu* stock = menus->addMenu(QStringLiteral("库存管理"));
    stock->addAction(QStringLiteral("库存管理"));
    QMenu* data = menus->addMenu(QStringLiteral("系统管理"));
    data->addAction(QStringLiteral("系统管理"));
    guardedMenus_ = {settings, stock, data};
    for (QMenu* menu : guardedMenus_)
        ui::connectGuarded(menu, &QMenu::triggered, this, [this](QAction* a) { runMenuCommand(a->text()); });
    QMenu* help = menus->addMenu(QStringLiteral("帮助"));
    ui::connectGuarded(help->addAction(QStringLiteral("系统帮助")), &QAction::triggered, this,
                       &MainWindow::showHelp);
    ui::connectGuarded(help->addAction(QStringLiteral("退出")), &QAction::triggered, this, &QWidget::close);
}

QWidget* MainWindow::buildToolbar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(0);
    for (int i = 0; i < panels::kToolButtonCount; ++i) {
        const auto which = panels::ToolButton(i);
        auto* button = new QToolButton(bar);
        button->setObjectName(QStringLiteral("toolb_%1").arg(i));
        button->setText(panels::toolButtonCaption(which));
        button->setIcon(style()->standardIcon(iconOf(which)));
        button->setIconSize(QSize(32, 32));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(58);
        row->addWidget(button);
        toolButtons_.append(button);
        ui::connectGuarded(button, &QToolButton::clicked, this, [this, which] {
            switch (which) {
            case panels::ToolButton::Add:
                workspace_->add();
                break;
            case panels::ToolButton::Delete:
                if (workspace_->mayRemove() && messages::ask(panels::kDeleteQuestion)) workspace_->remove();
                break;
            case panels::ToolButton::Cancel:
                workspace_->cancel();
                break;
            case panels::ToolButton::Save:
                workspace_->save();
                break;
            case panels::ToolButton::Retreat:
                workspace_->retreat();
                break;
            case panels::ToolButton::Query:
                workspace_->query();
                break;
            case panels::ToolButton::Help:
                showHelp();
                break;
            case panels::ToolButton::Execute:
                workspace_->execute();
                break;
            case panels::ToolButton::StockAdjust:
                workspace_->stockAdjust();
                break;
            }
        });
    }
    row->addStretch();
    return bar;
}

QWidget* MainWindow::buildTrees() {
    trees_ = new QStackedWidget(this);
    trees_->setObjectName(QStringLiteral("pnl_Tree"));
    trees_->setFixedWidth(kTreeWidth);
    static const char* names[] = {"tree_settings", "tree_staff", "tree_inventory", "tree_data"};
    for (panels::Tree tree :
         {panels::Tree::Settings, panels::Tree::Staff, panels::Tree::Inventory, panels::Tree::Data}) {
        auto* widget = new QTreeWidget(trees_);
        widget->setObjectName(QLatin1String(names[int(tree)]));
        widget->setHeaderHidden(true);
        widget->setIndentation(16);
        for (const panels::TreeGroup& group : panels::treeGroups(tree)) {
            auto* groupItem = new QTreeWidgetItem(widget, {group.caption});
            groupItem->setFlags(Qt::ItemIsEnabled);
            for (const panels::Leaf& leaf : group.leaves)
                new QTreeWidgetItem(groupItem, {leaf.caption});
        }
        widget->expandAll();
        ui::connectGuarded(widget, &QTreeWidget::itemClicked, this, [this, tree](QTreeWidgetItem* item) {
            workspace_->clickTree(tree, item->text(0));
        });
        trees_->addWidget(widget);
        treeWidgets_.append(widget);
    }
    return trees_;
}

QTreeWidget* MainWindow::treeOf(panels::Tree tree) const {
    return treeWidgets_.value(int(tree));
}

QToolButton* MainWindow::toolButton(panels::ToolButton button) const {
    return toolButtons_.value(int(button));
}

void MainWindow::runMenuCommand(const QString& caption) {
    workspace_->runMenu(caption);
}

void MainWindow::loggedIn() {
    for (QMenu* menu : guardedMenus_)
        menu->setEnabled(true);
    trees_->setEnabled(true);
    login_->hide();
    statusPanel(1)->setText(session_->operatorCaption());
    statusPanel(0)->setText(session_->userCaption());
    statusPanel(2)->setText(session_->businessDateCaption());
    navigator_->showPanel(empty_, work_, true);
    workspace_->loggedIn();
}

void MainWindow::sync() {
    trees_->setCurrentIndex(int(workspace_->tree()));
    QTreeWidget* tree = treeOf(workspace_->tree());
    const QList<QTreeWidgetItem*> nodes =
        tree->findItems(workspace_->treeNode(), Qt::MatchExactly | Qt::MatchRecursive);
    tree->setCurrentItem(nodes.isEmpty() ? nullptr : nodes.first());
    toolbar_->setEnabled(workspace_->toolbarEnabled());
    const panels::ToolButtons shown = workspace_->buttons();
    for (int i = 0; i < panels::kToolButtonCount; ++i)
        toolButtons_[i]->setVisible(panels::ToolButton(i) == panels::ToolButton::Help ||
                                    shown.has(panels::ToolButton(i)));
    enterMovesFocus_->setEnabled(workspace_->enterMovesFocus());
    if (!session_->loggedIn()) return;
    work_->setVisible(workspace_->workAreaVisible());
    QWidget* shownPanel = panels_.value(workspace_->panel(), empty_);
    if (navigator_->currentPanel() != shownPanel || shownPanel->isHidden())
        navigator_->showPanel(shownPanel, work_, true);
}

void MainWindow::showHelp() {
    ui::showHelpPage(programDir_);
}

bool MainWindow::mayClose() {
    switch (workspace_->exitMode()) {
    case panels::ExitMode::Forced:
        return true;
    case panels::ExitMode::DataProcessed:
        messages::information(panels::kDataProcessedMessage);
        return true;
    case panels::ExitMode::Normal:
        break;
    }
    return messages::ask(QStringLiteral("请确定是否退出") + messages::title() + QStringLiteral("!"));
}

void MainWindow::closeWithoutAsking() {
    workspace_->setExitMode(panels::ExitMode::Forced);
    close();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (ui::screenTooSmall()) {
        messages::information(kScreenTooSmallMessage);
        workspace_->setExitMode(panels::ExitMode::Forced);
        QTimer::singleShot(0, this, ui::guarded(this, &QWidget::close));
        return;
    }
    login_->focusOperator();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const bool forced = workspace_->exitMode() == panels::ExitMode::Forced;
    if (!mayClose()) {
        event->ignore();
        return;
    }
    try {
        // Once the record on screen is saved, the window goes; the exit's line in the log still
        // waits for the disk.
        workspace_->closing([this] { hide(); });
    } catch (const std::exception&) {
        // After a fatal error the database may be what failed; the program closes regardless.
        if (!forced) {
            // Refused (another workstation is saving): the program stays, with its window.
            show();
            event->ignore();
            throw;
        }
    }
    event->accept();
}

} // namespace sorrel::backoffice
