#include "common/ui/enter_moves_focus.h"

#include "common/ui/guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace sorrel::ui {

EnterMovesFocus::EnterMovesFocus(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

EnterMovesFocus::~EnterMovesFocus() {
    qApp->removeEventFilter(this);
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event) {
    if (!enabled_ || pending_ || event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // In a message box Enter answers the box; it must not move the focus behind it.
    if (!widget || qobject_cast<QDialog*>(widget->window())) return false;
    pending_ = true;
    enteredIn_ = QApplication::focusWidget();
    QTimer::singleShot(0, this, ui::guarded(this, &EnterMovesFocus::moveFocus));
    // Enter on a focused button presses it, as the operator expects of a button.
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button == enteredIn_) {
        button->click();
        return true;
    }
    return false;
}

void EnterMovesFocus::moveFocus() {
    pending_ = false;
    if (!enabled_) return;
    // When the Enter itself put the focus somewhere (a refused login back to its field, a
    // message box), that is where the operator is meant to be.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus == enteredIn_) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(focus, &tab);
    }
}

} // namespace sorrel::ui
