#include "tests/backoffice/shell/backoffice_window.h"

#include "backoffice/panels/list_grid_panel.h"
#include "common/messages.h"
#include "tests/support/screen_application.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace sorrel::test {

void BackOfficeWindowTest::SetUp() {
    screenApplication();
    messages::setTitle(kBackOfficeTitle);
    scratch_ = std::make_unique<ScratchDatabase>(GetParam(), ScratchDatabase::Contents::DemoVenue);
    db().exec(QStringLiteral("UPDATE SetupPay SET work_auto = 0"));
    openWindow();
}

void BackOfficeWindowTest::openWindow() {
    window_ = std::make_unique<backoffice::MainWindow>(db(), clock, dir_.path());
    ASSERT_TRUE(showActive(*window_));
}

void BackOfficeWindowTest::TearDown() {
    closeShown(window_);
    scratch_.reset();
    messages::setTitle(kFrontDeskTitle);
}

void BackOfficeWindowTest::logIn(const QString& code, const QString& password) {
    auto* op = window_->findChild<QLineEdit*>(QStringLiteral("edt_operator"));
    auto* pw = window_->findChild<QLineEdit*>(QStringLiteral("edt_password"));
    op->clear();
    pw->clear();
    QTest::keyClicks(op, code);
    QTest::keyClicks(pw, password);
    QTest::keyClick(pw, Qt::Key_Return);
}

void BackOfficeWindowTest::clickLeaf(panels::Tree tree, const QString& caption) {
    QTreeWidget* widget = window_->treeOf(tree);
    const QList<QTreeWidgetItem*> found = widget->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_FALSE(found.isEmpty()) << caption.toStdString();
    const QRect at = widget->visualItemRect(found.first());
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, at.center());
}

void BackOfficeWindowTest::clickTool(panels::ToolButton button) {
    QToolButton* b = window_->toolButton(button);
    ASSERT_TRUE(b->isVisible() && b->isEnabled()) << panels::toolButtonCaption(button).toStdString();
    QTest::mouseClick(b, Qt::LeftButton);
}

bool BackOfficeWindowTest::toolShown(panels::ToolButton button) {
    QToolButton* b = window_->toolButton(button);
    return b->isVisible() && b->isEnabled();
}

QWidget* BackOfficeWindowTest::shownPanel() {
    for (QObject* child : window_->workArea()->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && w->isVisible()) return w;
    return nullptr;
}

QLineEdit* BackOfficeWindowTest::field(const QString& column) {
    QWidget* panel = shownPanel();
    return panel ? panel->findChild<QLineEdit*>(QStringLiteral("dbe_") + column) : nullptr;
}

void BackOfficeWindowTest::type(const QString& column, const QString& text) {
    QLineEdit* edit = field(column);
    ASSERT_TRUE(edit) << column.toStdString();
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
    // Chinese characters arrive as text of a key without a key code, as from an input method.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit,
                            c.unicode() < 128 ? QTest::asciiToKey(char(c.unicode())) : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
}

void BackOfficeWindowTest::choose(const QString& column, const QString& name) {
    auto* box = shownPanel()->findChild<QComboBox*>(QStringLiteral("dbl_") + column);
    ASSERT_TRUE(box) << column.toStdString();
    const int index = box->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void BackOfficeWindowTest::press(QWidget* widget, const QString& caption) {
    for (QPushButton* b : widget->findChildren<QPushButton*>())
        if (b->text() == caption && b->isVisible()) {
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
    ADD_FAILURE() << "no button " << caption.toStdString();
}

void BackOfficeWindowTest::pick(const QString& table, const QString& key, bool twice) {
    for (panels::ListGrid* grid : shownPanel()->findChildren<panels::ListGrid*>()) {
        if (grid->list().table() != table || !grid->isVisible()) continue;
        const int row = grid->list().rows().locate({{grid->list().definition().key, key}});
        ASSERT_GE(row, 0) << key.toStdString();
        grid->scrollTo(grid->model()->index(row, 0));
        const QRect at = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at.center());
        if (twice) QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at.center());
        return;
    }
    ADD_FAILURE() << "no grid over " << table.toStdString();
}

void BackOfficeWindowTest::enterIn(const QString& objectName, const QString& text) {
    auto* box = shownPanel()->findChild<QLineEdit*>(objectName);
    ASSERT_TRUE(box) << objectName.toStdString();
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void BackOfficeWindowTest::screenshot(const QString& name) {
    const QString dir = QDir::temp().filePath(QStringLiteral("sorrel-backoffice-screens"));
    QDir().mkpath(dir);
    QApplication::processEvents();
    window_->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace sorrel::test
