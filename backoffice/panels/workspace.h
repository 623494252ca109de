// What the back office's main window is doing, apart from how it looks: which tree and panel
// are shown, which list the toolbar acts on (the current list), which buttons it shows, whether
// the work area is visible and the toolbar usable, how the program closes. Menu commands and
// tree clicks check the operator's rights here; the toolbar's record commands act here.
#pragma once

#include "backoffice/lists/maintenance_list.h"
#include "backoffice/panels/navigation.h"
#include "common/login_session.h"

#include <QHash>
#include <QObject>
#include <functional>

namespace sorrel::panels {

inline const QString kDeleteQuestion = QStringLiteral("是否删除所选项目，删除后将不能恢复，请慎重!");
inline const QString kDataProcessedMessage = QStringLiteral("数据处理完毕，系统将退出请重新登录！");

// 0 closing asks, 1 data were processed (closing says to log in again), 2 closing asks nothing.
enum class ExitMode { Normal, DataProcessed, Forced };

// A panel the work area can show: its list (none for a panel without one) and what it reads
// afresh each time it opens.
struct PanelEntry {
    lists::MaintenanceList* list = nullptr;
    std::function<void()> open;
    // What "查询" does on this panel (finding a member or a credit guest); nothing when unset.
    std::function<void()> query = {};
    // What "保存" does on a panel without a list (the business names) or whose rows are no
    // maintenance list (the stock adjustment being typed); nothing when unset.
    std::function<void()> save = {};
    // What "取消" does on a panel without a list (the business names); nothing when unset.
    std::function<void()> cancel = {};
    // What "执行" does on this panel (posting a stock bill); nothing when unset.
    std::function<void()> execute = {};
    // The stock adjustment answers "删除" and "回退" itself too; "回退" and leaving the panel by
    // the tree drop what it holds.
    std::function<void()> remove = {};
    std::function<void()> retreat = {};
    // Enter moves the focus to the next field, except where Enter has a job of its own.
    bool enterMovesFocus = true;
};

// What a panel reads afresh each time it opens: these lists, masters first, since another
// workstation may have changed them.
std::function<void()> rereading(QList<lists::MaintenanceList*> lists);

class Workspace : public QObject {
    Q_OBJECT
  public:
    explicit Workspace(LoginSession& session, QObject* parent = nullptr);

    LoginSession& session() const { return session_; }

    // Panels by name: the leaf captions, and the sub-panels' own names.
    void registerPanel(const QString& name, PanelEntry entry);
    // What "查询" does on a registered panel; its screen supplies it.
    void setQuery(const QString& name, std::function<void()> query);
    // What "库存调整" does, on whichever panel shows.
    void setStockAdjust(std::function<void()> start) { stockAdjust_ = std::move(start); }

    Tree tree() const { return tree_; }
    QString treeNode() const { return treeNode_; }
    QString panel() const { return panel_; } // empty: nothing shown
    lists::MaintenanceList* currentList() const { return current_; }
    bool workAreaVisible() const { return workAreaVisible_; }
    bool toolbarEnabled() const { return toolbarEnabled_; }
    ToolButtons buttons() const { return buttons_; }
    ExitMode exitMode() const { return exitMode_; }
    void setExitMode(ExitMode mode) { exitMode_ = mode; }

    // After a successful login: the menus, the tree and the toolbar become usable.
    void loggedIn();

    // "系统设置", "管理设置", "库存管理", "系统管理".
    void runMenu(const QString& caption);
    // A row of a tree was clicked; a group row does nothing.
    void clickTree(Tree tree, const QString& caption);
    // Shows a sub-panel of the current panel (components, class rates), left again with "回退",
    // which gives the panel its buttons back.
    void enterDetail(const QString& panel, lists::MaintenanceList& list,
                     ToolButtons buttons = detailButtons());

    // The record toolbar.
    void add();
    // "删除" asks kDeleteQuestion first, when there is a record to delete.
    bool mayRemove() const;
    void remove();
    void cancel();
    void save();
    void retreat();
    void query();
    void execute();
    void stockAdjust();
    // Whether Enter moves the focus on the panel shown.
    bool enterMovesFocus() const;
    // Back from a sub-panel to the panel it was entered from, with that panel's buttons, once
    // the sub-panel's own step has run.
    void returnFromDetail();

    // The program closes: the current record is saved (or its change dropped), what a sub-panel
    // owes is recomputed, and the exit is logged. A forced close saves nothing. `leftCurrent`
    // runs between the two: the window goes once its record is saved, before the log's write.
    void closing(const std::function<void()>& leftCurrent = {});

  signals:
    // Anything shown changed: tree, node, panel, buttons, work area, toolbar.
    void changed();

  private:
    bool permitted(const QString& permission);
    void refuse();
    // Whatever the current list still owes before another panel replaces it.
    void leaveCurrent();
    void show(const QString& panel);
    // The shown panel's entry; nullptr when it has none.
    const PanelEntry* shownEntry() const;

    LoginSession& session_;
    QHash<QString, PanelEntry> panels_;
    Tree tree_ = Tree::Settings;
    QString treeNode_;
    QString panel_;
    lists::MaintenanceList* current_ = nullptr;
    bool workAreaVisible_ = true;
    bool toolbarEnabled_ = false;
    ToolButtons buttons_;
    ExitMode exitMode_ = ExitMode::Normal;
    // The panel a sub-panel returns to, and its buttons there.
    QString detailOf_;
    lists::MaintenanceList* detailBackList_ = nullptr;
    ToolButtons detailBackButtons_;
    std::function<void()> stockAdjust_;
};

} // namespace sorrel::panels
