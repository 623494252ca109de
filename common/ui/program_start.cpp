#include "common/ui/program_start.h"

#include "common/error_log.h"
#include "common/installation/venue_opening.h"
#include "common/instance_lock.h"
#include "common/local_time_zone.h"
#include "common/messages.h"
#include "common/ui/guarded_application.h"
#include "common/ui/messagebox_sink.h"
#include "common/ui/splash_window.h"
#include "common/ui/guard.h"
#include "common/ui/wait_notice.h"
#include "common/workstations.h"

#include <QSysInfo>
#include <QTimer>

namespace sorrel::ui {

int runProgram(int argc, char** argv, Program program, const MakeMainWindow& makeWindow) {
    nameLocalTimeZone();
    const bool frontDesk = program == Program::FrontDesk;
    GuardedApplication app(argc, argv);
    QCoreApplication::setApplicationName(frontDesk ? QStringLiteral("Sorrel_W") : QStringLiteral("Sorrel_S"));
    applyProgramFont(app);
    MessageBoxSink boxes;
    messages::installSink(&boxes);
    messages::setTitle(frontDesk ? kFrontDeskTitle : kBackOfficeTitle);

    InstanceLock lock(program);
    const InstanceCheck check = lock.acquire();
    if (check != InstanceCheck::Free) {
        const QString refusal = instanceRefusalMessage(program, check);
        if (!refusal.isEmpty()) messages::information(refusal);
        return 1;
    }

    auto splash =
        std::make_unique<SplashWindow>(frontDesk ? QStringLiteral("[前台]") : QStringLiteral("[后台]"));
    splash->showNow();

    // A step waiting for another workstation's save keeps the window painted and says so.
    const InstalledWaitNotice waitNotice;
    SystemClock clock;
    const QString programDir = QCoreApplication::applicationDirPath();
    // What the staff are not shown of an error goes to log/ beside the program.
    errorlog::install(programDir, clock);
    struct LogUninstall {
        ~LogUninstall() { errorlog::uninstall(); }
    } logUninstall;
    MainWindowOf main;
    std::unique_ptr<Database> db;
    try {
        db = installation::openVenueDatabase(
            {programDir, frontDesk ? QStringLiteral("前台系统") : QStringLiteral("后台系统")}, clock,
            [&splash] { splash->hide(); });
        if (!db) return 1;
        main = makeWindow(*db, clock, programDir);
    } catch (...) {
        splash.reset();
        app.handle(std::current_exception());
        return 1;
    }
    app.setCloseAfterFatalError(main.closeWithoutAsking);
    splash.reset();
    // The program's row among the workstations, from here to its exit, and its beat.
    WorkstationPresence presence(*db, QSysInfo::machineHostName(), QCoreApplication::applicationName());
    QTimer beat;
    connectGuarded(&beat, &QTimer::timeout, &beat, [&presence] { presence.beat(); });
    beat.start(kBeatIntervalMs);
    main.window->show();
    const int result = app.exec();
    beat.stop();
    app.setCloseAfterFatalError({});
    main.window.reset();
    return result;
}

} // namespace sorrel::ui
