// The back office's main window on a scratch database, driven offscreen the way a manager uses
// it: login, menus, tree leaves, toolbar buttons and the panels' fields.
#pragma once

#include "backoffice/shell/main_window_screen.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <QTemporaryDir>
#include <memory>

class QLineEdit;

namespace sorrel::test {

class BackOfficeWindowTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override;
    void TearDown() override;

    Database& db() { return scratch_->db(); }
    ScratchDatabase& scratch() { return *scratch_; }
    backoffice::MainWindow& window() { return *window_; }
    void openWindow();

    void logIn(const QString& code, const QString& password);
    void clickLeaf(panels::Tree tree, const QString& caption);
    void clickTool(panels::ToolButton button);
    bool toolShown(panels::ToolButton button);
    // The panel the work area shows now.
    QWidget* shownPanel();
    QLineEdit* field(const QString& column);
    // Types into the field of `column` on the shown panel, replacing what it held.
    void type(const QString& column, const QString& text);
    void choose(const QString& column, const QString& name);
    void press(QWidget* widget, const QString& caption);
    // Clicks the row of the record whose key is `key` in the shown panel's grid over `table`;
    // double-clicks it when `twice`.
    void pick(const QString& table, const QString& key, bool twice = false);
    // Types into a box of the shown panel by its object name and presses Enter there.
    void enterIn(const QString& objectName, const QString& text);
    // A picture of the window in sorrel-backoffice-screens/ in the temporary folder, for a
    // person to look at.
    void screenshot(const QString& name);
    QStringList shown() const { return sink.texts(); }
    // The folder the window runs in, as beside the programs (back/ lies there).
    QString programDir() const { return dir_.path(); }

    ScriptedSink sink;
    FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 0))};

  private:
    std::unique_ptr<ScratchDatabase> scratch_;
    std::unique_ptr<backoffice::MainWindow> window_;
    QTemporaryDir dir_;
};

} // namespace sorrel::test
