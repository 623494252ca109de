// A step waiting for another workstation's save: the program goes on painting (its timers and
// window events run), shows its notice and the wait cursor after half a second, and takes both
// away when the step has its answer.
#include "common/db/errors.h"
#include "common/db/lock_wait.h"
#include "common/db/transaction.h"
#include "common/ui/wait_notice.h"
#include "tests/support/screen_application.h"
#include "tests/support/test_database.h"

#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

using namespace sorrel;

namespace {

class WaitNoticeTest : public test::EngineTest {
  protected:
    void SetUp() override {
        test::screenApplication();
        lock_wait::setBoundMs(1500);
        test::EngineTest::SetUp();
    }
    void TearDown() override {
        lock_wait::setObserver(nullptr);
        lock_wait::setBoundMs(0);
        test::EngineTest::TearDown();
    }
};

TEST_P(WaitNoticeTest, TheWaitIsShownWhileTheWindowGoesOn) {
    // Another workstation in the middle of its save.
    const std::unique_ptr<Database> other = scratch().connectAgain();
    other->begin();
    other->exec(QStringLiteral("UPDATE TableList SET tabl_name = tabl_name"));

    ui::InstalledWaitNotice installed;
    const std::unique_ptr<Database> desk = scratch().connectAgain();
    struct Seen {
        bool ran = false;
        bool noticeShown = false;
        bool waitCursor = false;
    };
    Seen early, late;
    const auto look = [](Seen& seen) {
        seen.ran = true;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("lbl_WaitNotice") && w->isVisible()) seen.noticeShown = true;
        seen.waitCursor = QGuiApplication::overrideCursor() != nullptr;
    };
    QTimer::singleShot(200, [&] { look(early); });
    QTimer::singleShot(900, [&] { look(late); });
    EXPECT_THROW(runCoded(*desk, QStringLiteral("B100002"),
                          [&] { desk->exec(QStringLiteral("UPDATE TableList SET tabl_name = tabl_name")); }),
                 DatabaseBusy);

    EXPECT_TRUE(early.ran && late.ran) << "the program stood still while it waited";
    EXPECT_FALSE(early.noticeShown);
    EXPECT_TRUE(late.noticeShown);
    EXPECT_TRUE(late.waitCursor);
    Seen after;
    look(after);
    EXPECT_FALSE(after.noticeShown);
    EXPECT_FALSE(after.waitCursor);
    other->rollback();
}

SORREL_ON_EVERY_ENGINE(WaitNoticeTest);

} // namespace
