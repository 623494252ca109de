#include "common/ui/login_fields.h"

#include "common/ui/jpeg_image.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
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

LoginButtons layOutLoginBox(QWidget* body, QGridLayout* fields) {
    auto* logo = new QLabel(body);
    logo->setPixmap(QPixmap::fromImage(productLogo()));
    logo->setFixedSize(96, 96);
    LoginButtons buttons{new QPushButton(QStringLiteral("确定"), body),
                         new QPushButton(QStringLiteral("退出"), body)};
    for (QPushButton* b : {buttons.ok, buttons.quit})
        b->setAutoDefault(false);
    fields->setHorizontalSpacing(6);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(buttons.ok);
    buttonRow->addWidget(buttons.quit);
    auto* right = new QVBoxLayout;
    right->addStretch();
    right->addLayout(fields);
    right->addSpacing(8);
    right->addLayout(buttonRow);
    right->addStretch();
    auto* row = new QHBoxLayout(body);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(12);
    row->addWidget(logo, 0, Qt::AlignVCenter);
    row->addLayout(right, 1);
    return buttons;
}

} // namespace sorrel::ui
