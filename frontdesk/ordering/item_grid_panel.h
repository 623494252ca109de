// The grids the operator chooses items from: the item grid (disabled items red, unlimited ones
// green; Enter or a double-click chooses, a right-button double-click takes one off) and the
// menu browser of kinds and classes above it.
#pragma once

#include "common/db/database.h"
#include "common/ui/text_grid.h"
#include "frontdesk/ordering/order_menu.h"

#include <optional>

namespace sorrel::ordering {

class ItemGrid : public ui::TextGrid {
    Q_OBJECT
  public:
    ItemGrid(const QString& objectName, QWidget* parent);

    // Builds the grid of `items`, every row shown.
    void showItems(const QList<OrderItem>& items);
    // Shows only the rows of the items `typed` finds, the first of them chosen. Typing hides
    // and shows the rows already built rather than building the grid again on every key.
    void showMatching(const QString& typed);
    // The items shown, in their order.
    const QList<OrderItem>& items() const { return shown_; }
    // The grid's row of a shown item; -1 when it is not shown.
    int rowOf(const QString& code) const;
    // Chooses the first shown row.
    void chooseFirstShown();
    std::optional<OrderItem> current() const;

  signals:
    void chosen(const ordering::OrderItem& item);
    void takenOff(const ordering::OrderItem& item);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    std::optional<OrderItem> shownAt(int row) const;

    QList<OrderItem> built_; // one per row of the grid
    QList<OrderItem> shown_;
};

// A kind grid and the class grid of the chosen kind.
class MenuBrowser : public QWidget {
    Q_OBJECT
  public:
    MenuBrowser(Database& db, const QString& namePrefix, QWidget* parent);

    // Reads the kinds again and chooses the first.
    void reload();
    QString currentClass() const;
    ui::TextGrid* kinds() const { return kinds_; }
    ui::TextGrid* classes() const { return classes_; }

  signals:
    void classChosen(const QString& classCode);

  private:
    void showClasses();

    Database& db_;
    ui::TextGrid* kinds_;
    ui::TextGrid* classes_;
    QList<MenuEntry> kindList_;
    QList<MenuEntry> classList_;
};

} // namespace sorrel::ordering
