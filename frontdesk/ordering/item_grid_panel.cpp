#include "frontdesk/ordering/item_grid_panel.h"

#include "common/ui/grid_style.h"
#include "common/ui/guard.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace sorrel::ordering {

namespace {

QString price(double amount) {
    return QString::number(amount, 'f', 2);
}

ui::TextGrid* entryGrid(const QString& name, const QString& caption, QWidget* parent) {
    auto* grid = new ui::TextGrid(name, {QStringLiteral("编码"), caption}, parent);
    grid->setColumnWidth(0, 44);
    grid->horizontalHeader()->setStretchLastSection(true);
    ui::styleSideGrid(grid);
    return grid;
}

QList<QStringList> entryRows(const QList<MenuEntry>& entries) {
    QList<QStringList> rows;
    for (const MenuEntry& e : entries)
        rows << QStringList{e.code, e.name};
    return rows;
}

} // namespace

ItemGrid::ItemGrid(const QString& objectName, QWidget* parent)
    : ui::TextGrid(
          objectName,
          {QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("单位"), QStringLiteral("单价")},
          parent) {
    const int widths[] = {56, 100, 36, 56};
    for (int c = 0; c < 4; ++c)
        setColumnWidth(c, widths[c]);
    horizontalHeader()->setStretchLastSection(true);
    // The selected row white on a dark background.
    ui::styleMainGrid(this);
}

void ItemGrid::showItems(const QList<OrderItem>& items) {
    built_ = items;
    shown_ = items;
    QList<QStringList> rows;
    for (const OrderItem& item : items)
        rows << QStringList{item.code, item.name, item.unit, price(item.price)};
    setRows(rows, rows.isEmpty() ? -1 : 0);
    for (int r = 0; r < items.size(); ++r) {
        setRowHidden(r, false);
        const QColor colour = items[r].disabled()    ? QColor(Qt::red)
                              : items[r].unlimited() ? QColor(0, 128, 0)
                                                     : palette().color(QPalette::Text);
        for (int c = 0; c < columnCount(); ++c)
            if (QTableWidgetItem* cell = item(r, c); cell && cell->foreground().color() != colour)
                cell->setForeground(colour);
    }
}

void ItemGrid::showMatching(const QString& typed) {
    shown_.clear();
    for (int r = 0; r < built_.size(); ++r) {
        const bool found = itemMatches(built_[r], typed);
        if (found) shown_.append(built_[r]);
        if (isRowHidden(r) == found) setRowHidden(r, !found);
    }
    chooseFirstShown();
}

int ItemGrid::rowOf(const QString& code) const {
    for (int r = 0; r < built_.size(); ++r)
        if (built_[r].code == code && !isRowHidden(r)) return r;
    return -1;
}

void ItemGrid::chooseFirstShown() {
    selectRowQuietly(shown_.isEmpty() ? -1 : rowOf(shown_.first().code));
}

std::optional<OrderItem> ItemGrid::shownAt(int row) const {
    if (row < 0 || row >= built_.size() || isRowHidden(row)) return std::nullopt;
    return built_[row];
}

std::optional<OrderItem> ItemGrid::current() const {
    return shownAt(currentRow());
}

void ItemGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (const std::optional<OrderItem> item = current()) emit chosen(*item);
        return;
    }
    ui::TextGrid::keyPressEvent(event);
}

void ItemGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint().y());
    const std::optional<OrderItem> item = shownAt(row);
    if (!item) return;
    selectRow(row);
    if (event->button() == Qt::RightButton)
        emit takenOff(*item);
    else if (event->button() == Qt::LeftButton)
        emit chosen(*item);
}

MenuBrowser::MenuBrowser(Database& db, const QString& namePrefix, QWidget* parent)
    : QWidget(parent), db_(db) {
    kinds_ = entryGrid(QStringLiteral("dbg_%1Kind").arg(namePrefix), QStringLiteral("大类"), this);
    classes_ = entryGrid(QStringLiteral("dbg_%1Class").arg(namePrefix), QStringLiteral("分类"), this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(kinds_, 2);
    column->addWidget(classes_, 3);
    ui::connectGuarded(kinds_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0) showClasses();
    });
    ui::connectGuarded(classes_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0) emit classChosen(currentClass());
    });
}

void MenuBrowser::reload() {
    kindList_ = loadKinds(db_);
    kinds_->setRows(entryRows(kindList_), kindList_.isEmpty() ? -1 : 0);
    showClasses();
}

void MenuBrowser::showClasses() {
    const int kind = kinds_->currentRow();
    classList_ =
        kind >= 0 && kind < kindList_.size() ? loadClasses(db_, kindList_[kind].code) : QList<MenuEntry>();
    classes_->setRows(entryRows(classList_), classList_.isEmpty() ? -1 : 0);
    emit classChosen(currentClass());
}

QString MenuBrowser::currentClass() const {
    const int row = classes_->currentRow();
    return row >= 0 && row < classList_.size() ? classList_[row].code : QString();
}

} // namespace sorrel::ordering
