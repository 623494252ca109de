// The table board (pnl_TableState), the front desk's home screen, as far as the shell needs it:
// the toolbar strip, the host of the board views, the right-hand column with the shift and the
// business date, and the login box over all of it until an operator logs in.
#pragma once

#include "frontdesk/shell/front_desk_context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace sorrel::ui {
class ToolStrip;
}

namespace sorrel::frontdesk {

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

class AboutPanel;
class LoginBox;

class BoardScreen : public QWidget {
    Q_OBJECT
  public:
    BoardScreen(const FrontDeskContext& context, QWidget* parent);

    ui::ToolStrip* toolbarStrip() const { return toolbar_; }
    QWidget* viewsHost() const { return views_; }
    QWidget* graphicView() const { return graphic_; }
    QWidget* rightColumn() const { return column_; }
    // Where the board adds the department list, the type summary and the table information.
    QVBoxLayout* rightColumnContent() const { return content_; }
    QLineEdit* searchBox() const { return search_; }
    LoginBox* loginBox() const { return login_; }
    bool loginBoxShown() const;

    // Puts the login box up: board views and right column hidden, toolbar disabled and raised.
    void showLoginBox();
    // "重新登录": the operator leaves the shift and the login box comes back, emptied.
    void relogin();

  signals:
    // A double-click on the selected table, or keypad "+" on the board.
    void openTableRequested();
    void loggedIn();
    void exitRequested();
    void helpRequested();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void centreOverBoard(QWidget* box);
    void acceptLogin();
    void showAbout(bool shown);

    const FrontDeskContext& context_;
    ui::ToolStrip* toolbar_;
    QWidget* views_;
    QWidget* graphic_;
    QWidget* column_;
    QVBoxLayout* content_;
    QLabel* typeNote_;
    QLabel* shift_;
    QLabel* workDate_;
    QLineEdit* search_;
    LoginBox* login_;
    AboutPanel* about_;
};

} // namespace sorrel::frontdesk
