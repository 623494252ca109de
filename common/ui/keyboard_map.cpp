#include "common/ui/keyboard_map.h"

#include "common/ui/guard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>

namespace sorrel::ui {

KeyboardMap::KeyboardMap(const PanelNavigator& navigator, QWidget* window)
    : QObject(window), navigator_(navigator), window_(window) {
    qApp->installEventFilter(this);
}

KeyboardMap::~KeyboardMap() {
    qApp->removeEventFilter(this);
}

void KeyboardMap::bind(QWidget* panel, int key, std::function<void()> action, KeyOrigin origin) {
    bindings_.append({panel, key, origin, std::move(action)});
}

int KeyboardMap::captionKey(const QString& caption) {
    const QString word = caption.section(QLatin1Char(' '), -1);
    if (word == caption) return 0;
    if (word == QLatin1String("+")) return Qt::Key_Plus;
    if (word == QLatin1String("-")) return Qt::Key_Minus;
    if (word == QLatin1String("*")) return Qt::Key_Asterisk;
    if (word == QLatin1String("/")) return Qt::Key_Slash;
    if (word.size() >= 2 && word.at(0) == QLatin1Char('F')) {
        bool number = false;
        const int f = word.mid(1).toInt(&number);
        if (number && f >= 1 && f <= 12) return Qt::Key_F1 + f - 1;
    }
    return 0;
}

bool KeyboardMap::dispatch(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* current = navigator_.currentPanel();
    if (!current) return false;
    const bool fromKeypad = modifiers.testFlag(Qt::KeypadModifier);
    const bool signKey =
        key == Qt::Key_Plus || key == Qt::Key_Minus || key == Qt::Key_Asterisk || key == Qt::Key_Slash;
    if (fromKeypad || !signKey) {
        for (QToolButton* button : current->findChildren<QToolButton*>()) {
            if (captionKey(button->text()) != key || !button->isVisible() || !button->isEnabled()) continue;
            button->click();
            return true;
        }
    }
    for (const Binding& b : bindings_) {
        if (b.panel != current || b.key != key || (b.origin == KeyOrigin::Keypad && !fromKeypad)) continue;
        // Copied: the action may rebind keys or change the current panel.
        const std::function<void()> action = b.action;
        runGuarded(action);
        return true;
    }
    return false;
}

bool KeyboardMap::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !window_) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Keys typed in a message box or another window are that window's own business.
    if (!widget || widget->window() != window_ || !window_->isEnabled()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    return dispatch(key->key(), key->modifiers());
}

} // namespace sorrel::ui
