// A small raised box with a title strip and a "×" at its right end (login, password change,
// about). Its contents go into body().
#pragma once

#include <QFrame>

namespace sorrel::ui {

class TitledBox : public QFrame {
    Q_OBJECT
  public:
    TitledBox(const QString& objectName, const QString& title, QWidget* parent);
    QWidget* body() const { return body_; }

  signals:
    void closeClicked();

  private:
    QWidget* body_;
};

} // namespace sorrel::ui
