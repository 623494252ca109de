// The two small panels the ordering screen opens over itself: the new list price of an item
// (价格调整) and a new single item in a class (加菜).
#pragma once

#include "common/db/database.h"
#include "frontdesk/ordering/order_menu.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;

namespace sorrel::ordering {

class ItemGrid;
class MenuBrowser;

// A price field: digits and one ".".
void acceptPriceOnly(QLineEdit* field);

class PriceAdjustPanel : public QFrame {
    Q_OBJECT
  public:
    explicit PriceAdjustPanel(QWidget* parent);

    void present(const OrderItem& item);
    QLineEdit* newPrice() const { return newPrice_; }
    QPushButton* confirmButton() const { return confirm_; }

  signals:
    void confirmed(const QString& itemCode, double price);
    void closed();

  private:
    QString itemCode_;
    QLabel* item_;
    QLabel* oldPrice_;
    QLineEdit* newPrice_;
    QPushButton* confirm_;
};

class NewItemPanel : public QFrame {
    Q_OBJECT
  public:
    NewItemPanel(Database& db, QWidget* parent);

    void present();
    MenuBrowser* menu() const { return menu_; }
    ItemGrid* items() const { return items_; }
    // 编码, 名称, 单位, 单价, 快捷
    QLineEdit* field(int index) const { return fields_[index]; }
    QPushButton* saveButton() const { return save_; }

  signals:
    void added();
    void closed();

  private:
    void save();
    void showClass(const QString& classCode);

    Database& db_;
    MenuBrowser* menu_;
    ItemGrid* items_;
    QList<QLineEdit*> fields_;
    QPushButton* save_;
};

} // namespace sorrel::ordering
