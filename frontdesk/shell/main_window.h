// FormWMain, the front desk's one main window: it hosts every screen in pnl_Parent, owns the
// status bar with its clock, the keyboard map, Enter-moves-focus, and decides how the program
// closes. It makes the context every screen is handed.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/login_session.h"
#include "common/ui/enter_moves_focus.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/panel_host.h"
#include "common/ui/status_bar.h"
#include "frontdesk/context/front_desk_context.h"

#include <QWidget>
#include <memory>

class QLabel;

namespace sorrel::tables {
class BoardScreen;
}
namespace sorrel::settings {
class SettingsScreen;
}

namespace sorrel::frontdesk {

using tables::BoardScreen;
class DayDesk;
class ReportsDesk;
class TableDesk;

inline const QString kMainCaption = QStringLiteral("岚舟餐[饮娱乐管理系统9.0版]-前台操作");
inline const QString kApplicationTitle = QStringLiteral("岚舟餐饮娱乐管理系统8.0版-前台操作");

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    // The window keeps `db` and `clock` for its whole life; `programDir` holds the help page.
    MainWindow(Database& db, const Clock& clock, const QString& programDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    const FrontDeskContext& context() const { return *context_; }
    LoginSession& session() const { return *session_; }
    ui::PanelNavigator& navigator() const { return *navigator_; }
    ui::KeyboardMap& keyboard() const { return *keyboard_; }
    ui::EnterMovesFocus& enterMovesFocus() const { return *enterMovesFocus_; }
    QWidget* parentHost() const { return parent_; }
    BoardScreen* board() const { return board_; }
    TableDesk* tableDesk() const { return desk_; }
    DayDesk* dayDesk() const { return dayDesk_; }
    ReportsDesk* reportsDesk() const { return reportsDesk_; }
    settings::SettingsScreen* settingsScreen() const { return settings_; }
    QLabel* statusPanel(int index) const { return status_->panel(index); }

    // After a fatal error or a refused screen: close without the exit question.
    void closeWithoutAsking();
    bool closingFlag() const { return closing_; }

    // The board with its login box, as at start and after every return to it.
    void showBoard();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Database& db_;
    const Clock& clock_;
    QString programDir_;
    std::unique_ptr<LoginSession> session_;
    ui::PanelNavigator* navigator_;
    ui::KeyboardMap* keyboard_;
    ui::EnterMovesFocus* enterMovesFocus_;
    QWidget* parent_;
    std::unique_ptr<FrontDeskContext> context_;
    TableDesk* desk_;
    DayDesk* dayDesk_;
    ReportsDesk* reportsDesk_;
    settings::SettingsScreen* settings_;
    BoardScreen* board_;
    ui::StatusBar* status_;
    bool closing_ = false;
    bool shownOnce_ = false;
};

} // namespace sorrel::frontdesk
