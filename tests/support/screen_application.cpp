#include "tests/support/screen_application.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace sorrel::test {

ui::GuardedApplication& screenApplication() {
    static int argc = 1;
    static char name[] = "sorrel_screen_test";
    static char* argv[] = {name, nullptr};
    static auto* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* a = new ui::GuardedApplication(argc, argv);
        ui::applyProgramFont(*a);
        return a;
    }();
    return *app;
}

QToolButton* toolButtonCaptioned(QWidget* in, const QString& caption) {
    QToolButton* found = nullptr;
    for (QToolButton* b : in->findChildren<QToolButton*>()) {
        if (b->text() != caption || !b->isVisibleTo(in->window())) continue;
        EXPECT_EQ(found, nullptr) << "two buttons captioned " << caption.toStdString();
        found = b;
    }
    return found;
}

void saveScreenshot(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("SORREL_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

bool showAndWaitUntilActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs) return false;
        QTest::qWait(50);
    }
    return true;
}

} // namespace sorrel::test
