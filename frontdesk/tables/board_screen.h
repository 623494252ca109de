// The table board (pnl_TableState), the front desk's home screen: the toolbar, the three views
// of the tables of one department and type, the right-hand column, the state menu and the
// search by table code; the login box covers it until an operator logs in. While it is the
// current screen and the operator is not typing, it re-reads the tables every few seconds, so
// another workstation's openings show without a click.
#pragma once

#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/tables/table_board.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QWidget>

class QLineEdit;
class QTimer;

namespace sorrel::ui {
class ToolStrip;
}

namespace sorrel::tables {

class AboutPanel;
class BoardColumn;
class GraphicBoard;
class LegendBoard;
class ListBoard;
class LoginBox;

// The board's toolbar buttons, by object name.
namespace board_tool {
inline constexpr char kView[] = "toolb_View";
inline constexpr char kDay[] = "toolb_Day";
inline constexpr char kReports[] = "toolb_Report";
inline constexpr char kSettings[] = "toolb_Setup";
inline constexpr char kRelogin[] = "toolb_Relogin";
inline constexpr char kAbout[] = "toolb_About";
inline constexpr char kHelp[] = "toolb_Help";
inline constexpr char kSort[] = "toolb_Sort";
inline constexpr char kExit[] = "toolb_Exit";
} // namespace board_tool

class BoardScreen : public QWidget {
    Q_OBJECT
  public:
    // How often the board re-reads the tables while it waits for the operator.
    static constexpr int kLiveRefreshMs = 3000;

    BoardScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);
    ~BoardScreen() override;

    ui::ToolStrip* toolbarStrip() const { return toolbar_; }
    QWidget* viewsHost() const { return views_; }
    GraphicBoard* graphicView() const { return graphic_; }
    ListBoard* listView() const { return list_; }
    LegendBoard* legendView() const { return legend_; }
    BoardColumn* rightColumn() const { return column_; }
    QLineEdit* searchBox() const;
    LoginBox* loginBox() const { return login_; }
    bool loginBoxShown() const;
    const tables::TableBoard& tables() const { return board_; }
    // The state menu while it is open; nullptr otherwise.
    QMenu* stateMenu() const { return menu_; }

    // Puts the login box up: board views and right column hidden, toolbar disabled and raised.
    void showLoginBox();
    // "重新登录" (or the end of a shift handover, logged as `action`): the operator leaves the
    // shift and the login box comes back, emptied.
    void relogin(const QString& action = kReloginAction);
    // After day start: the business-date label reads "营业日期：" and the new date.
    void showBusinessDate(const QDate& businessDate);

    // The board in pnl_Parent with the view in force, its graphic view the current panel.
    void present();
    // Back from a table: departments, types and tables read again in the order in force, the
    // same table selected, the board shown and the search box focused.
    void returnFrom(const QString& tableCode);
    // Every table read again now; the department, type, selection, view and order stay.
    void requery();
    // Every table read again and `tableCode` selected, its department and type on show.
    void reveal(const QString& tableCode);

  signals:
    // Double-click on a table, keypad "+" on the board, or "开台" of the state menu.
    void tableChosen(const QString& tableCode);
    // "预订" and "反结" of the state menu.
    void bookingRequested(const QString& tableCode);
    void reverseRequested(const QString& tableCode);
    void loggedIn();
    // The login box is up again (交班, 重新登录): nobody is logged in until it is answered.
    void loggedOut();
    void exitRequested();
    void helpRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void bindKeys();
    void centreOverBoard(QWidget* box);
    void acceptLogin();
    void showAbout(bool shown);
    void showView();
    void refreshViews(bool reveal);
    void pressTable(const QString& code);
    void chooseTable(const QString& code);
    void openStateMenu(const QString& code, const QPoint& globalPos);
    void changeUse(const QString& code, bool enable);
    void search(const QString& typed);
    bool isCurrent() const;
    bool operatorBusy() const;
    void refreshLive();

    const frontdesk::FrontDeskContext& context_;
    tables::TableBoard board_;
    ui::ToolStrip* toolbar_;
    QWidget* views_;
    GraphicBoard* graphic_;
    ListBoard* list_;
    LegendBoard* legend_;
    BoardColumn* column_;
    LoginBox* login_;
    AboutPanel* about_;
    QPointer<QMenu> menu_;
    QTimer* live_;
    QElapsedTimer sinceKey_;
};

} // namespace sorrel::tables
