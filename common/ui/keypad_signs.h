// Fields in which "+" and "-" are never text but the current screen's keypad shortcuts: either
// sign, typed on either keyboard, runs what the keyboard map binds to its keypad key and does not
// reach the field; pasted text loses them too.
#pragma once

class QLineEdit;

namespace sorrel::ui {

class KeyboardMap;

void keypadSignsAreShortcuts(QLineEdit* field, KeyboardMap& keyboard);

} // namespace sorrel::ui
