// The one application object of a screen test program, with the programs' error handler and
// screen font; made on first use.
#pragma once

#include "common/ui/guarded_application.h"

namespace sorrel::test {

inline ui::GuardedApplication& application() {
    static int argc = 1;
    static char name[] = "sorrel_screen_test";
    static char* argv[] = {name, nullptr};
    static auto* app = [] {
        auto* a = new ui::GuardedApplication(argc, argv);
        ui::applyProgramFont(*a);
        return a;
    }();
    return *app;
}

} // namespace sorrel::test
