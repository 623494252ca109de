#include "common/ui/keyboard_map.h"

#include "common/ui/guard.h"

#include <QApplication>
#include <QKeyEvent>

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

bool KeyboardMap::dispatch(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* current = navigator_.currentPanel();
    if (!current) return false;
    const bool fromKeypad = modifiers.testFlag(Qt::KeypadModifier);
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
