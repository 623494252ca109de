// Enter moves the focus: every Enter pressed in a program window also moves the focus to the
// next field, after the field itself has seen the Enter (so a field that acts on Enter still
// acts); on a focused button Enter presses it. The ordering screen switches it off while it is
// open.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace sorrel::ui {

class EnterMovesFocus : public QObject {
    Q_OBJECT
  public:
    explicit EnterMovesFocus(QObject* parent = nullptr);
    ~EnterMovesFocus() override;

    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void moveFocus();

    bool enabled_ = true;
    bool pending_ = false; // one move per Enter, however far the key travels up the parents
    QPointer<QWidget> enteredIn_;
};

} // namespace sorrel::ui
