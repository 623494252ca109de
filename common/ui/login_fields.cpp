#include "common/ui/login_fields.h"

#include <QLineEdit>
#include <QProxyStyle>
#include <QRegularExpressionValidator>

namespace sorrel::ui {

namespace {

class HashMaskStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '#';
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void refuseWildcards(QLineEdit* field) {
    // A validator refuses the characters whether typed, pasted or composed.
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^%*]*")), field));
}

void maskWithHash(QLineEdit* field) {
    auto* style = new HashMaskStyle;
    style->setParent(field);
    field->setStyle(style);
    field->setEchoMode(QLineEdit::Password);
}

} // namespace sorrel::ui
