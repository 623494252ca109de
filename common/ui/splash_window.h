// FormSplash: the borderless window shown while a program starts — logo, product name,
// edition and which program ("[前台]" or "[后台]") is starting.
#pragma once

#include <QWidget>

namespace sorrel::ui {

class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    // `tag` names the program: "[前台]" or "[后台]".
    explicit SplashWindow(const QString& tag, QWidget* parent = nullptr);

    // Centres the window on the desktop, shows it and paints it at once.
    void showNow();
};

} // namespace sorrel::ui
