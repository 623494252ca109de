#include "common/ui/guarded_application.h"

#include "common/error_log.h"
#include "common/ui/guard.h"
#include "common/unhandled_error.h"

#include <QFont>

#include <cstdio>

namespace sorrel::ui {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

GuardedApplication* GuardedApplication::current() {
    return qobject_cast<GuardedApplication*>(QCoreApplication::instance());
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        ++lastNetCount_;
        const QString where =
            QStringLiteral("an unguarded handler (event %1 for %2 \"%3\")")
                .arg(int(event->type()))
                .arg(QString::fromLatin1(receiver->metaObject()->className()), receiver->objectName());
        const QString detail = describeError(error);
        std::fprintf(stderr, "%s: error reached the event loop from %s: %s\n",
                     qPrintable(QCoreApplication::applicationName()), qPrintable(where), qPrintable(detail));
        errorlog::write(QStringLiteral("reached the event loop from ") + where, detail);
        handle(error, where);
        return true;
    }
}

void GuardedApplication::handle(std::exception_ptr error, const QString& where) {
    if (reportUnhandledError(error, where) == ErrorOutcome::Close && closeAfterFatal_) closeAfterFatal_();
}

void answerEscapedError(std::exception_ptr error) noexcept {
    try {
        if (GuardedApplication* app = GuardedApplication::current())
            app->handle(error, QStringLiteral("a screen handler"));
        else
            reportUnhandledError(error, QStringLiteral("a screen handler"));
    } catch (...) {
        // Showing the answer failed in turn (no screen left to show it on): the detail is logged.
        std::fprintf(stderr, "an error could not be answered\n");
    }
}

void applyProgramFont(QApplication& app) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    app.setFont(font);
}

} // namespace sorrel::ui
