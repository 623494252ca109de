// Every panel of the back office as a manager sees it, in the smallest window the program runs in
// (an 800 x 600 screen) and maximised on a large one: no caption, heading or code cut off, no two
// widgets on top of each other, nothing beyond the window. The panels are those the work area
// hosts, whichever there are, each shown with the demo venue's rows.
#include "tests/backoffice/shell/backoffice_window.h"
#include "tests/support/screen_application.h"
#include "tests/support/screen_layout.h"

#include <QApplication>
#include <QLayout>

using namespace sorrel;

namespace {

class BackOfficeScreenLayout : public test::BackOfficeWindowTest {
  protected:
    void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents();
            window().layout()->activate();
            QApplication::processEvents();
        }
    }
};

TEST_P(BackOfficeScreenLayout, EveryPanelShowsWholeInTheSmallestWindowAndMaximised) {
    EXPECT_TRUE(window().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_GT(window().maximumWidth(), window().minimumWidth());
    logIn("01", "1234");
    QWidget* work = window().workArea();
    QList<QWidget*> panels;
    for (QWidget* child : work->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow()) panels.append(child);
    ASSERT_GE(panels.size(), 20);
    ui::PanelNavigator& navigator = *window().findChild<ui::PanelNavigator*>();
    for (const QSize size : {window().minimumSize(), QSize(1600, 1000)}) {
        window().resize(size);
        settle();
        ASSERT_EQ(window().size(), size);
        for (QWidget* panel : panels) {
            SCOPED_TRACE(testing::Message() << panel->objectName().toStdString() << " at " << size.width()
                                            << "x" << size.height());
            navigator.showPanel(panel, work, false);
            test::forEachPanelState(panel, navigator, [&](const QString& state) {
                SCOPED_TRACE(state.toStdString());
                settle();
                EXPECT_EQ(panel->size(), work->size()) << "a panel fills the work area";
                const QStringList faults = test::layoutFaults(panel);
                EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
                screenshot(
                    QStringLiteral("layout_%1%2_%3").arg(panel->objectName(), state).arg(size.width()));
            });
        }
    }
}

// The layout does not depend on the engine: the file's is enough.
INSTANTIATE_TEST_SUITE_P(File, BackOfficeScreenLayout, ::testing::Values(Engine::Embedded),
                         test::engineTestName);

} // namespace
