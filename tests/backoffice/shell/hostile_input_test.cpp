// Hostile input at every field of every back-office panel, on every engine: each text of the one
// hostile list is pasted into each field a manager can type in (found by walking the panel's
// widgets), Enter is pressed there, then "保存", and every question is answered Yes. The program
// must carry on without an internal or database error, and every stored text must fit its column,
// be whole characters and hold no control character; every stored number must be real. The
// panels a panel opens on its current record (a set meal's components, a scheme's class rates,
// a mode's time bands, a card's top-ups, a credit guest's repayments) get the same treatment.
#include "tests/backoffice/shell/backoffice_window.h"

#include "tests/support/hostile_input.h"
#include "tests/support/screen_application.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>

using namespace sorrel;
using namespace sorrel::panels;

namespace {

class BackOfficeHostileInputTest : public test::BackOfficeWindowTest {};

// Each panel opened from a record of another, and how a manager gets there on the demo venue.
struct SubPanel {
    const char* name;
    const char* menu; // the menu command that shows the tree
    Tree tree;
    const char* leaf;
    std::function<void()> open;
};

TEST_P(BackOfficeHostileInputTest, EveryFieldOfEveryPanelTakesHostileTextUnharmed) {
    logIn("01", "1234");
    bool fatal = false;
    test::screenApplication().setCloseAfterFatalError([&fatal] { fatal = true; });
    int typed = 0;
    // Each tree as its menu command shows it: a leaf of a tree not shown cannot be clicked.
    const std::pair<Tree, const char*> trees[] = {
        {Tree::Settings, "系统设置"}, {Tree::Staff, "管理设置"}, {Tree::Inventory, "库存管理"}, {Tree::Data, "系统管理"}};
    for (const auto& [tree, menu] : trees) {
        window().runMenuCommand(QString::fromUtf8(menu));
        const int typedBefore = typed;
        for (const TreeGroup& group : treeGroups(tree)) {
            for (const Leaf& leaf : group.leaves) {
                clickLeaf(tree, leaf.caption);
                QWidget* panel = shownPanel();
                if (!panel || panel->objectName() == QStringLiteral("pnl_Empty")) continue;
                const std::string name = leaf.caption.toStdString();
                QList<QPointer<QWidget>> fields;
                for (QWidget* field : test::editableFields(panel))
                    fields << field;
                for (const QPointer<QWidget>& field : fields) {
                    for (const QString& text : test::hostileTexts()) {
                        sink.shown.clear();
                        sink.answers = QList<bool>(20, true);
                        fatal = false;
                        clickLeaf(tree, leaf.caption);
                        // A new operator and a new level take the text, not the manager's own
                        // record and level, which would lock the walk out.
                        if ((leaf.caption == QStringLiteral("操作员工") ||
                             leaf.caption == QStringLiteral("员工级别")) &&
                            toolShown(ToolButton::Add))
                            clickTool(ToolButton::Add);
                        ASSERT_TRUE(field) << name;
                        if (!field->isVisible() || !field->isEnabled()) continue;
                        const std::string where = name + " / " + test::fieldName(field).toStdString() +
                                                  " / " + test::printable(text);
                        test::pasteInto(field, text);
                        if (toolShown(ToolButton::Save)) clickTool(ToolButton::Save);
                        QCoreApplication::processEvents();
                        EXPECT_FALSE(fatal) << where;
                        for (const test::ScriptedSink::Shown& shown : sink.shown)
                            EXPECT_NE(shown.kind, MessageKind::Error)
                                << where << ": " << shown.text.toStdString();
                        // A refused record is dropped, as the manager would, before the next text.
                        if (toolShown(ToolButton::Cancel)) clickTool(ToolButton::Cancel);
                        ++typed;
                    }
                }
                test::expectStoredValuesSound(db(), name.c_str());
            }
        }
        EXPECT_GT(typed, typedBefore) << menu;
    }
}

TEST_P(BackOfficeHostileInputTest, EveryFieldOfThePanelsOpenedFromARecordTakesHostileTextUnharmed) {
    logIn("01", "1234");
    bool fatal = false;
    test::screenApplication().setCloseAfterFatalError([&fatal] { fatal = true; });
    const auto pressIn = [](QWidget* panel, const QString& caption) {
        for (QPushButton* b : panel->findChildren<QPushButton*>())
            if (b->text() == caption && b->isVisible() && b->isEnabled()) {
                QTest::mouseClick(b, Qt::LeftButton);
                return true;
            }
        return false;
    };
    const SubPanel subPanels[] = {
        {"set meal components", "系统设置", Tree::Settings, "项目",
         [&] {
             pick(QStringLiteral("kindlist"), QStringLiteral("4"));
             pick(QStringLiteral("itemlist"), QStringLiteral("401001"));
             pressIn(shownPanel(), QStringLiteral("套餐/合成项目"));
         }},
        {"class rates", "系统设置", Tree::Settings, "折扣",
         [&] { pressIn(shownPanel(), QStringLiteral("分类折扣率")); }},
        {"time bands", "系统设置", Tree::Settings, "消费方式",
         [&] {
             // The KTV room priced by time bands.
             pick(QStringLiteral("ConsModeList"), QStringLiteral("09"));
             pressIn(shownPanel(), QStringLiteral("时段价格设置"));
         }},
        {"card top-ups", "管理设置", Tree::Staff, "会员信息",
         [&] {
             pick(QStringLiteral("MemberList"), QStringLiteral("880001"));
             pressIn(shownPanel(), QStringLiteral("续钱"));
             if (toolShown(ToolButton::Add)) clickTool(ToolButton::Add);
         }},
        {"repayments", "管理设置", Tree::Staff, "挂帐客人",
         [&] {
             enterIn(QStringLiteral("edt_SystemPassword"), QStringLiteral("8888"));
             pick(QStringLiteral("HangGues"), QStringLiteral("001"), true);
         }},
    };
    for (const SubPanel& sub : subPanels) {
        window().runMenuCommand(QString::fromUtf8(sub.menu));
        const auto open = [&] {
            clickLeaf(sub.tree, QString::fromUtf8(sub.leaf));
            QWidget* from = shownPanel();
            sub.open();
            QCoreApplication::processEvents();
            return shownPanel() != from ? shownPanel() : nullptr;
        };
        sink.answers = QList<bool>(20, true);
        QWidget* panel = open();
        ASSERT_TRUE(panel) << sub.name << " did not open, " << shownPanel()->objectName().toStdString()
                           << " is shown";
        QList<QPointer<QWidget>> fields;
        for (QWidget* field : test::editableFields(panel))
            if (field->isVisible() && field->isEnabled()) fields << field;
        EXPECT_FALSE(fields.isEmpty()) << sub.name;
        int typed = 0;
        for (const QPointer<QWidget>& field : fields) {
            for (const QString& text : test::hostileTexts()) {
                sink.shown.clear();
                sink.answers = QList<bool>(20, true);
                fatal = false;
                ASSERT_TRUE(open()) << sub.name;
                ASSERT_TRUE(field) << sub.name;
                if (!field->isVisible() || !field->isEnabled()) continue;
                const std::string where = std::string(sub.name) + " / " + test::fieldName(field).toStdString() +
                                          " / " + test::printable(text);
                test::pasteInto(field, text);
                if (toolShown(ToolButton::Save))
                    clickTool(ToolButton::Save);
                else
                    pressIn(shownPanel(), QStringLiteral("保存"));
                QCoreApplication::processEvents();
                EXPECT_FALSE(fatal) << where;
                for (const test::ScriptedSink::Shown& shown : sink.shown)
                    EXPECT_NE(shown.kind, MessageKind::Error) << where << ": " << shown.text.toStdString();
                if (toolShown(ToolButton::Cancel)) clickTool(ToolButton::Cancel);
                ++typed;
                // Back to the record the panel was opened from, as the manager leaves it.
                if (toolShown(ToolButton::Retreat)) clickTool(ToolButton::Retreat);
                if (toolShown(ToolButton::Cancel)) clickTool(ToolButton::Cancel);
            }
        }
        EXPECT_GE(typed, int(fields.size() * test::hostileTexts().size())) << sub.name;
        test::expectStoredValuesSound(db(), sub.name);
    }
}

SORREL_ON_EVERY_ENGINE(BackOfficeHostileInputTest);

} // namespace
