#include "common/ui/guarded_application.h"

#include "common/unhandled_error.h"

#include <QFont>

namespace sorrel::ui {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handle(std::current_exception());
        return true;
    }
}

void GuardedApplication::handle(std::exception_ptr error) {
    if (reportUnhandledError(error) == ErrorOutcome::Close && closeAfterFatal_) closeAfterFatal_();
}

void applyProgramFont(QApplication& app) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    app.setFont(font);
}

} // namespace sorrel::ui
