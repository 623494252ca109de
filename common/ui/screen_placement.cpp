#include "common/ui/screen_placement.h"

#include "common/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace sorrel::ui {

void placeOnScreen(QWidget* window) {
    const QScreen* screen = QApplication::primaryScreen();
    if (!screen) return;
    switch (placementForScreenWidth(screen->geometry().width())) {
    case WindowPlacement::FillWorkArea:
        window->move(screen->availableGeometry().topLeft());
        break;
    case WindowPlacement::CentreDesktop:
        window->move(screen->availableGeometry().center() - window->rect().center());
        break;
    case WindowPlacement::Refuse:
        break;
    }
}

bool screenTooSmall() {
    const QScreen* screen = QApplication::primaryScreen();
    return screen && placementForScreenWidth(screen->geometry().width()) == WindowPlacement::Refuse;
}

} // namespace sorrel::ui
