// Hostile input at every field of every back-office panel, on every engine: each text of the one
// hostile list is pasted into each field a manager can type in (found by walking the panel's
// widgets), Enter is pressed there, then "保存", and every question is answered Yes. The program
// must carry on without an internal or database error, and every stored text must fit its column,
// be whole characters and hold no control character; every stored number must be real.
#include "tests/backoffice/shell/backoffice_window.h"
#include "tests/support/hostile_input.h"
#include "tests/support/screen_application.h"

#include <QPointer>
#include <QTreeWidget>

using namespace sorrel;
using namespace sorrel::panels;

namespace {

class BackOfficeHostileInputTest : public test::BackOfficeWindowTest {};

TEST_P(BackOfficeHostileInputTest, EveryFieldOfEveryPanelTakesHostileTextUnharmed) {
    logIn("01", "1234");
    bool fatal = false;
    test::screenApplication().setCloseAfterFatalError([&fatal] { fatal = true; });
    int typed = 0;
    for (Tree tree : {Tree::Settings, Tree::Staff}) {
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
    }
    EXPECT_GT(typed, 0);
}

SORREL_ON_EVERY_ENGINE(BackOfficeHostileInputTest);

} // namespace
