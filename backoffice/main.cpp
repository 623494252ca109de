// Sorrel_S, the back office: one copy per machine and never beside the front desk; splash,
// database, main window with its login panel.
#include "backoffice/shell/main_window.h"
#include "common/clock.h"
#include "common/instance_lock.h"
#include "common/messages.h"
#include "common/ui/database_offer.h"
#include "common/ui/guarded_application.h"
#include "common/ui/messagebox_sink.h"
#include "common/ui/splash_window.h"

int main(int argc, char** argv) {
    using namespace sorrel;
    ui::GuardedApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Sorrel_S"));
    ui::applyProgramFont(app);
    ui::MessageBoxSink boxes;
    messages::installSink(&boxes);
    messages::setTitle(kBackOfficeTitle);

    InstanceLock lock(Program::BackOffice);
    const InstanceCheck check = lock.acquire();
    if (check != InstanceCheck::Free) {
        const QString refusal = instanceRefusalMessage(Program::BackOffice, check);
        if (!refusal.isEmpty()) messages::information(refusal);
        return 1;
    }

    auto splash = std::make_unique<ui::SplashWindow>(QStringLiteral("[后台]"));
    splash->showNow();

    SystemClock clock;
    const QString programDir = QCoreApplication::applicationDirPath();
    std::unique_ptr<backoffice::MainWindow> window;
    std::unique_ptr<Database> db;
    try {
        db = ui::openDatabaseOrOfferNew(programDir, clock, splash.get());
        if (!db) return 1;
        window = std::make_unique<backoffice::MainWindow>(*db, clock, programDir);
    } catch (...) {
        splash.reset();
        app.handle(std::current_exception());
        return 1;
    }
    app.setCloseAfterFatalError([w = window.get()] { w->closeWithoutAsking(); });
    splash.reset();
    window->show();
    const int result = app.exec();
    app.setCloseAfterFatalError({});
    window.reset();
    return result;
}
