// FormSMain, the back office's main window: menus, the record toolbar, the four navigation trees,
// the work area that shows one panel at a time (the login panel first), and the status bar with
// its clock. What is shown follows the Workspace; the window only shows it and passes clicks on.
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "backoffice/members/credit_lists.h"
#include "backoffice/members/member_lists.h"
#include "backoffice/other_setup/other_lists.h"
#include "backoffice/panels/back_office_context.h"
#include "backoffice/rooms/room_lists.h"
#include "backoffice/staff/staff_lists.h"
#include "backoffice/stock/stock_adjustment.h"
#include "backoffice/stock/stock_lists.h"
#include "common/clock.h"
#include "common/db/database.h"
#include "common/login_session.h"
#include "common/ui/enter_moves_focus.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/panel_host.h"
#include "common/ui/status_bar.h"

#include <QHash>
#include <QWidget>
#include <memory>

class QLabel;
class QMenu;
class QStackedWidget;
class QToolButton;
class QTreeWidget;

namespace sorrel::backoffice {

class LoginPanel;

inline const QString kBackOfficeCaption = QStringLiteral("岚舟[餐饮娱乐]管理系统9.0版-后台管理");

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    MainWindow(Database& db, const Clock& clock, const QString& programDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    LoginSession& session() const { return *session_; }
    panels::Workspace& workspace() const { return *workspace_; }
    consumption::ConsumptionLists& consumption() const { return *consumption_; }
    rooms::RoomLists& rooms() const { return *rooms_; }
    other_setup::OtherLists& otherSetup() const { return *otherSetup_; }
    staff::StaffLists& staff() const { return *staff_; }
    members::MemberLists& members() const { return *members_; }
    members::CreditLists& credit() const { return *credit_; }
    stock::StockLists& stock() const { return *stock_; }
    stock::StockAdjustment& stockAdjustment() const { return *adjustment_; }
    LoginPanel* loginPanel() const { return login_; }
    QWidget* workArea() const { return work_; }
    QTreeWidget* treeOf(panels::Tree tree) const;
    QToolButton* toolButton(panels::ToolButton button) const;
    QLabel* statusPanel(int index) const { return status_->panel(index); }
    // The panel the work area shows under `name`; nullptr when there is none.
    QWidget* panel(const QString& name) const { return panels_.value(name); }
    // The menu command with that caption.
    void runMenuCommand(const QString& caption);

    // After a fatal error: close without the exit question.
    void closeWithoutAsking();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus(QWidget* bar);
    QWidget* buildToolbar();
    QWidget* buildTrees();
    void loggedIn();
    void sync();
    void showHelp();
    // The close question by exit mode; true when the program may close.
    bool mayClose();

    Database& db_;
    const Clock& clock_;
    QString programDir_;
    std::unique_ptr<LoginSession> session_;
    std::unique_ptr<panels::Workspace> workspace_;
    std::unique_ptr<consumption::ConsumptionLists> consumption_;
    std::unique_ptr<rooms::RoomLists> rooms_;
    std::unique_ptr<other_setup::OtherLists> otherSetup_;
    std::unique_ptr<staff::StaffLists> staff_;
    std::unique_ptr<members::MemberLists> members_;
    std::unique_ptr<members::CreditLists> credit_;
    std::unique_ptr<stock::StockLists> stock_;
    std::unique_ptr<stock::StockAdjustment> adjustment_;
    // What every panel is handed; made once the work area exists.
    std::unique_ptr<panels::BackOfficeContext> context_;
    ui::PanelNavigator* navigator_;
    ui::KeyboardMap* keyboard_;
    ui::EnterMovesFocus* enterMovesFocus_;
    QList<QMenu*> guardedMenus_;
    QWidget* toolbar_;
    QList<QToolButton*> toolButtons_;
    QStackedWidget* trees_;
    QList<QTreeWidget*> treeWidgets_;
    QWidget* work_;
    LoginPanel* login_;
    QWidget* empty_;
    QHash<QString, QWidget*> panels_;
    ui::StatusBar* status_;
    bool shownOnce_ = false;
};

} // namespace sorrel::backoffice
