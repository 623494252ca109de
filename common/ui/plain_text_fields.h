// Text fields that take only what a keyboard types: the control characters a paste brings (NUL,
// escape sequences) never get in, nor half a character where a field's length cut one in two;
// tabs and line breaks become blanks. Each field keeps its own rule (digits only, no wildcards).
#pragma once

class QWidget;

namespace sorrel::ui {

// Every text field under `root`, the edit lines of lists included (number and date boxes check
// their own text). Fields made afterwards are not covered: call it once the screens are built.
void keepTextFieldsPlain(QWidget* root);

} // namespace sorrel::ui
