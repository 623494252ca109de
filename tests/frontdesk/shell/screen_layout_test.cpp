// Every screen of the front desk as a cashier sees it, in the smallest window the program runs in
// (an 800 x 600 screen) and maximised on a large one: no caption, heading or code cut off, no two
// widgets on top of each other, nothing beyond the window. The screens are the panels the main
// window hosts, whichever there are.
#include "frontdesk/shell/main_window.h"
#include "tests/support/screen_application.h"
#include "tests/support/screen_layout.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace sorrel;

namespace {

// Lets the layouts settle after a change of size or of the panel shown.
void settle(QWidget* window) {
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents();
        if (window->layout()) window->layout()->activate();
        QApplication::processEvents();
    }
}

} // namespace

TEST(FrontDeskScreenLayout, EveryScreenShowsWholeInTheSmallestWindowAndMaximised) {
    test::screenApplication();
    test::ScriptedSink sink;
    const test::ScratchDatabase scratch(Engine::Embedded, test::ScratchDatabase::Contents::DemoVenue);
    const QTemporaryDir dir;
    FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(10, 0)));
    auto window = std::make_unique<frontdesk::MainWindow>(const_cast<test::ScratchDatabase&>(scratch).db(),
                                                          clock, dir.path());
    ASSERT_TRUE(test::showActive(*window));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_GT(window->maximumWidth(), window->minimumWidth());

    // Logged in, so the board shows the venue's tables.
    window->findChild<QComboBox*>(QStringLiteral("cmb_shift"))->setCurrentIndex(0);
    for (const auto& [field, text] : {std::pair{"edt_operator", "01"}, std::pair{"edt_password", "1234"}}) {
        auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(field));
        edit->setFocus();
        QTest::keyClicks(edit, QString::fromLatin1(text));
        QTest::keyClick(edit, Qt::Key_Return);
    }
    ASSERT_TRUE(sink.shown.isEmpty()) << sink.texts().join(u'\n').toStdString();
    QWidget* host = window->parentHost();
    QList<QWidget*> screens;
    for (QWidget* child : host->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow()) screens.append(child);
    ASSERT_GE(screens.size(), 5);
    for (const QSize size : {window->minimumSize(), QSize(1600, 1000)}) {
        window->resize(size);
        settle(window.get());
        ASSERT_EQ(window->size(), size);
        for (QWidget* screen : screens) {
            SCOPED_TRACE(testing::Message() << screen->objectName().toStdString() << " at " << size.width()
                                            << "x" << size.height());
            window->navigator().showPanel(screen, host, false);
            test::forEachPanelState(screen, window->navigator(), [&](const QString& state) {
                SCOPED_TRACE(state.toStdString());
                settle(window.get());
                EXPECT_EQ(screen->size(), host->size()) << "a screen fills the window's room";
                const QStringList faults = test::layoutFaults(screen);
                EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
                test::saveScreenshot(
                    window.get(),
                    QStringLiteral("layout_%1%2_%3").arg(screen->objectName(), state).arg(size.width()));
            });
        }
    }
    window->showBoard();
    test::closeShown(window);
}
