// Sorrel_S, the back office: one copy per machine and never beside the front desk; splash,
// database, main window with its login panel.
#include "backoffice/shell/main_window_screen.h"
#include "common/ui/program_start.h"

int main(int argc, char** argv) {
    using namespace sorrel;
    return ui::runProgram(argc, argv, Program::BackOffice, ui::mainWindow<backoffice::MainWindow>());
}
