// The back office's login panel "系统登录": operator and password, "确定" and "退出". The login
// itself is the LoginSession's.
#pragma once

#include "backoffice/panels/back_office_context.h"
#include "common/business_day.h"
#include "common/login_session.h"

#include <QWidget>

class QLineEdit;

namespace sorrel::backoffice {

class LoginPanel : public QWidget {
    Q_OBJECT
  public:
    explicit LoginPanel(const panels::BackOfficeContext& context);

    void setDayProgress(DayProgress progress) { progress_ = std::move(progress); }
    void focusOperator();
    // "确定", or Enter in the password.
    void confirm();

  signals:
    void accepted();
    void exitRequested();

  private:
    LoginSession& session_;
    DayProgress progress_;
    QLineEdit* operator_;
    QLineEdit* password_;
};

} // namespace sorrel::backoffice
