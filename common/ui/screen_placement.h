// Where a program's fixed-size main window goes on the screen it starts on, and whether that
// screen is too small for it.
#pragma once

class QWidget;

namespace sorrel::ui {

// Centres the window on a wide desktop, lets it take an 800-pixel screen's working area.
void placeOnScreen(QWidget* window);
// A 640-pixel screen: the program says so and ends.
bool screenTooSmall();

} // namespace sorrel::ui
