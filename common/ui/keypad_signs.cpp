#include "common/ui/keypad_signs.h"

#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace sorrel::ui {

namespace {

class SignsFilter : public QObject {
  public:
    SignsFilter(QLineEdit* field, KeyboardMap& keyboard) : QObject(field), keyboard_(keyboard) {
        field->installEventFilter(this);
        // Pasted or dropped text: the signs are taken out, the rest stays.
        ui::connectGuarded(field, &QLineEdit::textChanged, this, [field](const QString& text) {
            if (!text.contains(QLatin1Char('+')) && !text.contains(QLatin1Char('-'))) return;
            QString kept = text;
            kept.remove(QLatin1Char('+')).remove(QLatin1Char('-'));
            field->setText(kept);
        });
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text == QLatin1String("+"))
            keyboard_.dispatch(Qt::Key_Plus, Qt::KeypadModifier);
        else if (text == QLatin1String("-"))
            keyboard_.dispatch(Qt::Key_Minus, Qt::KeypadModifier);
        else
            return false;
        return true;
    }

  private:
    KeyboardMap& keyboard_;
};

} // namespace

void keypadSignsAreShortcuts(QLineEdit* field, KeyboardMap& keyboard) {
    new SignsFilter(field, keyboard);
}

} // namespace sorrel::ui
