// The operator and password fields of the login and password-change boxes: "%" and "*" can
// never be typed into them, and a password shows "#" for each character.
#pragma once

class QLineEdit;

namespace sorrel::ui {

void refuseWildcards(QLineEdit* field);
void maskWithHash(QLineEdit* field);

} // namespace sorrel::ui
