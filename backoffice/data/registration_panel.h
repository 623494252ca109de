// The panel of "注册用户" (pnl_Register): the venue's four names, saved and dropped by the
// record toolbar's "保存" and "取消", and the system password, typed twice, hidden, set by
// "确定".
#pragma once

#include "backoffice/data/registration.h"
#include "backoffice/panels/back_office_context.h"

#include <QList>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace sorrel::data {

class RegistrationPanel : public QWidget {
    Q_OBJECT
  public:
    RegistrationPanel(const panels::BackOfficeContext& context, QWidget* parent);

    // The names as they stand now, the password fields empty.
    void open();
    void save();
    void cancel();
    // "确定": an empty password is asked about first.
    void setPassword();

    QLineEdit* nameEdit(int field) const { return names_[field]; }
    QLineEdit* passwordEdit() const { return password_; }
    QLineEdit* confirmationEdit() const { return confirmation_; }
    QPushButton* confirmButton() const { return confirm_; }

  private:
    void showNames();

    const panels::BackOfficeContext& context_;
    BusinessNames stored_;
    QList<QLineEdit*> names_;
    QLineEdit* password_;
    QLineEdit* confirmation_;
    QPushButton* confirm_;
    bool showing_ = false;
};

} // namespace sorrel::data
