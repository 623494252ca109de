#include "frontdesk/ordering/menu_change_panel.h"

#include "common/messages.h"
#include "common/ui/guard.h"
#include "frontdesk/ordering/item_grid_panel.h"
#include "frontdesk/ordering/menu_changes.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace sorrel::ordering {

void acceptPriceOnly(QLineEdit* field) {
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), field));
}

PriceAdjustPanel::PriceAdjustPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnl_PriceAdjust"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    item_ = new QLabel(this);
    oldPrice_ = new QLabel(this);
    oldPrice_->setObjectName(QStringLiteral("lbl_OldPrice"));
    newPrice_ = new QLineEdit(this);
    newPrice_->setObjectName(QStringLiteral("edt_NewPrice"));
    acceptPriceOnly(newPrice_);
    confirm_ = new QPushButton(QStringLiteral("确定"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    auto* form = new QFormLayout(this);
    form->addRow(item_);
    form->addRow(oldPrice_);
    form->addRow(QStringLiteral("新价格为-"), newPrice_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    ui::connectGuarded(confirm_, &QPushButton::clicked, this, [this] {
        const double price = typedPrice(newPrice_->text());
        hide();
        emit confirmed(itemCode_, price);
        emit closed();
    });
    ui::connectGuarded(newPrice_, &QLineEdit::returnPressed, confirm_, &QPushButton::click);
    ui::connectGuarded(cancel, &QPushButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    hide();
}

void PriceAdjustPanel::present(const OrderItem& item) {
    itemCode_ = item.code;
    item_->setText(item.code + QLatin1Char(' ') + item.name);
    oldPrice_->setText(QStringLiteral("原价格-") + QString::number(item.price, 'f', 2));
    newPrice_->clear();
    adjustSize();
    move(260, 100);
    raise();
    show();
    newPrice_->setFocus();
}

NewItemPanel::NewItemPanel(Database& db, QWidget* parent) : QFrame(parent), db_(db) {
    setObjectName(QStringLiteral("pnl_NewItem"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    menu_ = new MenuBrowser(db_, QStringLiteral("NewItem"), this);
    items_ = new ItemGrid(QStringLiteral("dbg_NewItemItems"), this);
    const struct {
        const char* name;
        const char* caption;
        int length;
    } fields[] = {{"edt_NewCode", "编码", 6},
                  {"edt_NewName", "名称", 20},
                  {"edt_NewUnit", "单位", 4},
                  {"edt_NewPrice", "单价", 12},
                  {"edt_NewShort", "快捷", 10}};
    auto* form = new QFormLayout;
    for (const auto& field : fields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(field.name));
        edit->setMaxLength(field.length);
        form->addRow(QString::fromUtf8(field.caption), edit);
        fields_.append(edit);
    }
    acceptPriceOnly(fields_[3]);
    // What is added here is always a single item (never a set); the panel says so.
    auto* type = new QLabel(QStringLiteral("单品"), this);
    type->setObjectName(QStringLiteral("lbl_NewType"));
    form->addRow(QStringLiteral("类型："), type);
    // Enter goes round the five fields.
    for (int i = 0; i < fields_.size(); ++i)
        ui::connectGuarded(fields_[i], &QLineEdit::returnPressed, this,
                           [this, i] { fields_[(i + 1) % fields_.size()]->setFocus(); });
    save_ = new QPushButton(QStringLiteral("保存所加项目"), this);
    auto* close = new QPushButton(QStringLiteral("返回"), this);
    form->addRow(save_);
    form->addRow(close);
    auto* row = new QHBoxLayout(this);
    row->addWidget(menu_, 2);
    row->addWidget(items_, 3);
    row->addLayout(form, 2);
    ui::connectGuarded(menu_, &MenuBrowser::classChosen, this, &NewItemPanel::showClass);
    ui::connectGuarded(save_, &QPushButton::clicked, this, &NewItemPanel::save);
    ui::connectGuarded(close, &QPushButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    hide();
}

void NewItemPanel::present() {
    for (QLineEdit* edit : fields_)
        edit->clear();
    menu_->reload();
    resize(parentWidget()->width() - 40, 300);
    move(20, 120);
    raise();
    show();
    fields_[0]->setFocus();
}

void NewItemPanel::showClass(const QString& classCode) {
    items_->showItems(classCode.isEmpty() ? QList<OrderItem>() : loadOrderItems(db_, classCode));
}

void NewItemPanel::save() {
    const NewItem item{menu_->currentClass(),        fields_[0]->text().trimmed(),
                       fields_[1]->text().trimmed(), fields_[2]->text().trimmed(),
                       fields_[3]->text().trimmed(), fields_[4]->text()};
    QString refusal = newItemRefusal(db_, item);
    if (refusal.isEmpty() && item.classCode.isEmpty()) refusal = kNewItemFieldsEmptyMessage;
    if (!refusal.isEmpty()) {
        messages::information(refusal);
        fields_[0]->setFocus();
        return;
    }
    if (!messages::ask(kNewItemQuestion)) return;
    refusal = addNewItem(db_, item);
    if (!refusal.isEmpty()) {
        messages::information(refusal);
        fields_[0]->setFocus();
        return;
    }
    for (QLineEdit* edit : fields_)
        edit->clear();
    showClass(item.classCode);
    fields_[0]->setFocus();
    emit added();
}

} // namespace sorrel::ordering
