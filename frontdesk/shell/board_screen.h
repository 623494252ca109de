// The table board (pnl_TableState), the front desk's home screen, as far as the shell needs it:
// the toolbar strip, the host of the board views, the right-hand column with the shift and the
// business date, and the login box over all of it until an operator logs in.
#pragma once

#include "common/login_session.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

namespace sorrel::frontdesk {

class AboutPanel;
class LoginBox;

class BoardScreen : public QWidget {
    Q_OBJECT
  public:
    BoardScreen(LoginSession& session, QWidget* parent);

    QWidget* toolbarStrip() const { return toolbar_; }
    // A toolbar button by its caption; nullptr when there is none.
    QToolButton* toolButton(const QString& caption) const;
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
    void setToolbarLive(bool live);

    LoginSession& session_;
    QWidget* toolbar_;
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
