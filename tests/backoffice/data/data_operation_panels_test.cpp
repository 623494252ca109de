// The data panels of "数据管理" driven through the real back office offscreen, on every engine:
// the management passwords (blank, wrong with every box unticked, right with blanks around it),
// a backup that ends the program with the re-login message, and an initialisation that asks
// first and changes nothing on No.
#include "backoffice/data/data_clearing.h"
#include "backoffice/data/data_operations_panel.h"
#include "common/installation/backup.h"
#include "common/system_password.h"
#include "common/venue_reset.h"
#include "tests/backoffice/shell/backoffice_window.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace sorrel;
using namespace sorrel::data;
using panels::Tree;

namespace {

class DataOperationPanelsTest : public test::BackOfficeWindowTest {
  protected:
    void openLeaf(const QString& leaf) {
        logIn(QStringLiteral("01"), QStringLiteral("1234"));
        window().runMenuCommand(QStringLiteral("系统管理"));
        clickLeaf(Tree::Data, leaf);
        sink.shown.clear();
    }
    void start(const QString& password) {
        auto* edit = shownPanel()->findChild<QLineEdit*>(QStringLiteral("edt_ManagementPassword"));
        edit->clear();
        QTest::keyClicks(edit, password);
        QTest::mouseClick(shownPanel()->findChild<QPushButton*>(QStringLiteral("btn_Start")), Qt::LeftButton);
    }
};

TEST_P(DataOperationPanelsTest, AWrongPasswordOnTheClearingPanelUnticksEveryBox) {
    openLeaf(QStringLiteral("数据清理"));
    EXPECT_EQ(shownPanel()->objectName(), "pnl_DataClear");
    const QList<QCheckBox*> boxes = shownPanel()->findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 5);
    struct Case {
        QString typed, message;
    } cases[] = {{"   ", kNoManagementPasswordMessage}, {"47036", kWrongManagementPasswordMessage}};
    for (const Case& c : cases) {
        for (QCheckBox* box : boxes)
            box->setChecked(true);
        sink.shown.clear();
        start(c.typed);
        EXPECT_EQ(shown(), QStringList{c.message});
        for (QCheckBox* box : boxes)
            EXPECT_FALSE(box->isChecked());
    }
    sink.shown.clear();
    start(QStringLiteral(" 470362 "));
    EXPECT_EQ(shown(), QStringList{kNothingToClearMessage});
    screenshot(QStringLiteral("data-clear-panel"));
}

TEST_P(DataOperationPanelsTest, BackupEndsTheProgramWithTheReloginMessage) {
    openLeaf(QStringLiteral("数据备份"));
    screenshot(QStringLiteral("data-backup-panel"));
    start(QStringLiteral(" 470362"));
    EXPECT_EQ(shown(), (QStringList{installation::kBackupDoneMessage, panels::kDataProcessedMessage}));
    EXPECT_TRUE(QFileInfo::exists(installation::latestBackupFile(installation::backFolder(programDir()))));
    EXPECT_FALSE(window().isVisible());
}

TEST_P(DataOperationPanelsTest, InitialisationAsksFirstAndFreesEveryTableOnYes) {
    db().exec("UPDATE tablelist SET tabl_stat_code = '2', tabl_gues_name = 'Li'");
    openLeaf(QStringLiteral("系统初始"));
    screenshot(QStringLiteral("data-init-panel"));
    start(QStringLiteral("470362"));
    EXPECT_EQ(shown(), QStringList{kWrongManagementPasswordMessage});
    sink.shown.clear();
    start(QStringLiteral("583016610385"));
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(shown().first().startsWith(kResetQuestion));
    EXPECT_EQ(db().scalar("SELECT count(*) FROM tablelist WHERE tabl_stat_code <> '2'").toInt(), 0);
    sink.shown.clear();
    sink.answers = {true};
    start(QStringLiteral("583016610385"));
    EXPECT_EQ(shown().last(), kInitialisationDoneMessage);
    EXPECT_EQ(
        db().scalar("SELECT count(*) FROM tablelist WHERE tabl_stat_code <> '1' OR tabl_gues_name <> ''")
            .toInt(),
        0);
    EXPECT_TRUE(window().isVisible());
}

SORREL_ON_EVERY_ENGINE(DataOperationPanelsTest);

} // namespace
