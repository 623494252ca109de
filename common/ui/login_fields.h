// The login boxes of both programs: their operator and password fields ("%" and "*" can never
// be typed into them, a password shows "#" for each character) and their layout — the logo on
// the left, the captioned fields and the "确定"/"退出" buttons on the right.
#pragma once

class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace sorrel::ui {

void refuseWildcards(QLineEdit* field);
void maskWithHash(QLineEdit* field);

// Lays out `body` of a login box around `fields`; the buttons are made here, in `body`.
struct LoginButtons {
    QPushButton* ok;
    QPushButton* quit;
};
LoginButtons layOutLoginBox(QWidget* body, QGridLayout* fields);

} // namespace sorrel::ui
