// Where a program's fixed 800-pixel-wide main window goes on the screen it starts on.
#pragma once

#include <QString>

namespace sorrel {

inline const QString kScreenTooSmallMessage =
    QStringLiteral("请使用分辨率大于800*600的显示模式，现在系统将退出！");

enum class WindowPlacement {
    Refuse,        // the screen is narrower than the window: the program says so and ends
    FillWorkArea,  // an 800-pixel screen: the window takes the working area
    CentreDesktop, // anything wider: a normal window in the middle of the desktop
};

WindowPlacement placementForScreenWidth(int width);

} // namespace sorrel
