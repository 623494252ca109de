#include "common/window_placement.h"

namespace sorrel {

WindowPlacement placementForScreenWidth(int width) {
    if (width < 800) return WindowPlacement::Refuse;
    return width == 800 ? WindowPlacement::FillWorkArea : WindowPlacement::CentreDesktop;
}

} // namespace sorrel
