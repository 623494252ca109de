// The back office's ways in: the four navigation trees with their groups and leaves, the
// permission each leaf asks, the menu commands, and the record toolbar's buttons.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace sorrel::panels {

// The record toolbar, in its order.
enum class ToolButton { Add, Delete, Cancel, Save, Execute, StockAdjust, Retreat, Query, Help };
inline constexpr int kToolButtonCount = 9;
QString toolButtonCaption(ToolButton button);

// Which buttons of the toolbar are shown.
class ToolButtons {
  public:
    ToolButtons() = default;
    ToolButtons(std::initializer_list<ToolButton> shown);
    bool has(ToolButton b) const { return bits_ & bit(b); }
    void show(ToolButton b) { bits_ |= bit(b); }
    void hide(ToolButton b) { bits_ &= ~bit(b); }
    bool operator==(const ToolButtons&) const = default;

  private:
    static unsigned bit(ToolButton b) { return 1u << unsigned(b); }
    unsigned bits_ = 0;
};

// The buttons of a record list: 增加, 删除, 取消, 保存.
ToolButtons recordButtons();
// The buttons of a sub-panel left with "回退": 回退 and 删除.
ToolButtons detailButtons();

enum class Tree { Settings, Staff, Inventory, Data };

struct Leaf {
    QString caption;
    QString permission; // empty: no check of its own
    ToolButtons buttons;
};

struct TreeGroup {
    QString caption;
    QList<Leaf> leaves;
};

const QList<TreeGroup>& treeGroups(Tree tree);
// The leaf of that caption in the tree; nullptr for a group row or an unknown caption.
const Leaf* findLeaf(Tree tree, const QString& caption);

struct MenuCommand {
    QString caption;
    QString permission;
    bool checkedFirst; // asked before the panel shows, else after
    Tree tree;
    QString leaf; // selected in the tree; its panel opens
    ToolButtons buttons;
};

// "系统设置", "管理设置", "库存管理", "系统管理"; nullptr for another caption.
const MenuCommand* findMenuCommand(const QString& caption);
QStringList menuCommandCaptions();

} // namespace sorrel::panels
