// The login box on the board (pnl_login) and the password-change box over it (pnl_modify).
// They show and collect; the login itself is the LoginSession's.
#pragma once

#include "common/business_day.h"
#include "common/login_session.h"

#include <QFrame>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace sorrel::ui {
class TitledBox;
}

namespace sorrel::tables {

class LoginBox : public QFrame {
    Q_OBJECT
  public:
    LoginBox(LoginSession& session, QWidget* parent);

    // Ready for the next operator: empty shift, operator and password; focus on the shift list.
    void reset();
    void focusShiftList();
    // Runs the login with what the fields hold ("确定", or Enter in the password field).
    void confirm();

    void setDayProgress(DayProgress progress) { progress_ = std::move(progress); }

  signals:
    void accepted();
    void exitRequested();

  private:
    void openPasswordChange();
    void confirmPasswordChange();

    LoginSession& session_;
    DayProgress progress_;
    QComboBox* shift_;
    QLineEdit* operator_;
    QLineEdit* password_;
    ui::TitledBox* modify_;
    QLineEdit* modifyOperator_;
    QLineEdit* modifyPassword_;
    QLineEdit* newPassword_;
    QLineEdit* confirmation_;
};

} // namespace sorrel::tables
