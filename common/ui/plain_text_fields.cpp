#include "common/ui/plain_text_fields.h"

#include "common/typed_input.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>

namespace sorrel::ui {

namespace {

// A validator sees every change however it was made (typed, pasted, dropped, composed), and what
// it leaves is what the field holds.
class PlainTextValidator final : public QValidator {
  public:
    PlainTextValidator(const QValidator* own, QObject* parent) : QValidator(parent), own_(own) {}

    State validate(QString& input, int& pos) const override {
        const QString plain = plainTypedText(input);
        if (plain != input) {
            pos = int(plainTypedText(input.left(pos)).size());
            input = plain;
        }
        return own_ ? own_->validate(input, pos) : Acceptable;
    }
    void fixup(QString& input) const override {
        if (own_) own_->fixup(input);
    }

  private:
    QPointer<const QValidator> own_;
};

} // namespace

void keepTextFieldsPlain(QWidget* root) {
    for (QLineEdit* field : root->findChildren<QLineEdit*>()) {
        if (qobject_cast<QAbstractSpinBox*>(field->parentWidget())) continue;
        if (dynamic_cast<const PlainTextValidator*>(field->validator())) continue;
        field->setValidator(new PlainTextValidator(field->validator(), field));
    }
}

} // namespace sorrel::ui
