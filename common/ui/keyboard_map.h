// The window-level keyboard map: the main window sees every key before the focused control,
// and what a key does depends on the current panel. Each screen binds its own keys.
#pragma once

#include "common/ui/panel_host.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

namespace sorrel::ui {

// Where a key must come from: "+", "-", "*" and "/" act only from the numeric keypad, so the
// same characters typed on the main keyboard still reach the fields.
enum class KeyOrigin { AnyKeyboard, Keypad };

class KeyboardMap : public QObject {
    Q_OBJECT
  public:
    // Watches key presses inside `window` (an application event filter).
    KeyboardMap(const PanelNavigator& navigator, QWidget* window);
    ~KeyboardMap() override;

    // The action runs under the guard (common/ui/guard.h), as every screen handler does.
    void bind(QWidget* panel, int key, std::function<void()> action,
              KeyOrigin origin = KeyOrigin::AnyKeyboard);
    // Runs the action bound for the current panel; false when the key means nothing there. A
    // toolbar button of the current panel whose caption names the key ("结帐 *", "点单 F5") is
    // that key's first meaning: the key clicks it while it is shown and enabled.
    bool dispatch(int key, Qt::KeyboardModifiers modifiers);

    // The key a button caption names in its last word: "+", "-", "*", "/" (keypad keys) or
    // "F1" to "F12"; 0 when it names none.
    static int captionKey(const QString& caption);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Binding {
        QPointer<QWidget> panel;
        int key;
        KeyOrigin origin;
        std::function<void()> action;
    };
    const PanelNavigator& navigator_;
    QPointer<QWidget> window_;
    QList<Binding> bindings_;
};

} // namespace sorrel::ui
