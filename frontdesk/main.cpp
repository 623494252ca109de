// Sorrel_W, the front desk: one copy per machine and never beside the back office; splash,
// database, main window with the board and its login box.
#include "common/ui/program_start.h"
#include "frontdesk/shell/main_window.h"

int main(int argc, char** argv) {
    using namespace sorrel;
    return ui::runProgram(argc, argv, Program::FrontDesk, ui::mainWindow<frontdesk::MainWindow>());
}
