#include "frontdesk/ordering/ordering_screen.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/money.h"
#include "common/tables/table_refusals.h"
#include "common/typed_input.h"
#include "common/ui/enter_moves_focus.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/panel_host.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/ordering/item_grid_panel.h"
#include "frontdesk/ordering/menu_change_panel.h"
#include "frontdesk/ordering/menu_changes.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/tables/board_tables.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::ordering {

namespace {

const char* const kKindButtons[] = {ordering_tool::kOrderedKind, ordering_tool::kReturnedKind,
                                    ordering_tool::kGiftKind, ordering_tool::kGiftReturnedKind};
const QString kKinds[] = {kOrdered, kReturned, kGift, kGiftReturned};

QString quantityText(double q) {
    return plainNumberText(q);
}

// Entering the search field clears it, so the next code is typed afresh.
class ClearOnEntry : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) static_cast<QLineEdit*>(watched)->clear();
        return false;
    }
};

} // namespace

OrderingScreen::OrderingScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_ConsItem"));
    setAutoFillBackground(true);
    using namespace ordering_tool;
    toolbar_ =
        new ui::ToolStrip(QStringLiteral("pnl_ConsItemTools"),
                          {
                              {kDelete, QStringLiteral("删除 -"), QStyle::SP_TrashIcon},
                              {kCommit, QStringLiteral("落单 *"), QStyle::SP_DialogApplyButton},
                              {kBack, QStringLiteral("回退"), QStyle::SP_ArrowBack},
                              {kOrderedKind, QStringLiteral("点单 F5"), QStyle::SP_FileDialogNewFolder},
                              {kReturnedKind, QStringLiteral("退单 F6"), QStyle::SP_BrowserStop},
                              {kGiftKind, QStringLiteral("赠单 F7"), QStyle::SP_DialogYesButton},
                              {kGiftReturnedKind, QStringLiteral("退赠 F8"), QStyle::SP_DialogNoButton},
                              {kPrice, QStringLiteral("价格调整"), QStyle::SP_FileDialogDetailedView},
                              {kByCode, QStringLiteral("编号选单"), QStyle::SP_FileDialogListView},
                              {kByList, QStringLiteral("列表选单"), QStyle::SP_DirIcon},
                              {kNewItem, QStringLiteral("加菜"), QStyle::SP_FileIcon},
                          },
                          this);
    auto* choices = new QButtonGroup(this);
    for (const char* name : {kByCode, kByList}) {
        toolbar_->button(name)->setCheckable(true);
        choices->addButton(toolbar_->button(name));
    }

    // The line editor.
    const auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(60);
        return l;
    };
    itemCode_ = label("lbl_ConsItemCode");
    itemName_ = label("lbl_ConsItemName");
    itemUnit_ = label("lbl_ConsItemUnit");
    stock_ = label("lbl_ConsStock");
    price_ = new QLineEdit(this);
    price_->setObjectName(QStringLiteral("edt_ConsPrice"));
    acceptPriceOnly(price_);
    quantity_ = new QLineEdit(this);
    quantity_->setObjectName(QStringLiteral("edt_ConsCount"));
    acceptPriceOnly(quantity_);
    note_ = new QComboBox(this);
    note_->setObjectName(QStringLiteral("cmb_ConsNarr"));
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("cmb_MenuType"));
    staff_ = new QComboBox(this);
    staff_->setObjectName(QStringLiteral("cmb_ConsDeduOper"));
    auto* editor = new QGridLayout;
    editor->setContentsMargins(6, 2, 6, 2);
    editor->addWidget(new QLabel(QStringLiteral("消费项目："), this), 0, 0);
    editor->addWidget(itemCode_, 0, 1);
    editor->addWidget(itemName_, 0, 2);
    editor->addWidget(itemUnit_, 0, 3);
    editor->addWidget(new QLabel(QStringLiteral("库存"), this), 0, 4);
    editor->addWidget(stock_, 0, 5);
    editor->addWidget(new QLabel(QStringLiteral("单价："), this), 1, 0);
    editor->addWidget(price_, 1, 1);
    editor->addWidget(new QLabel(QStringLiteral("数量："), this), 1, 2);
    editor->addWidget(quantity_, 1, 3);
    editor->addWidget(new QLabel(QStringLiteral("说明："), this), 1, 4);
    editor->addWidget(note_, 1, 5);
    editor->addWidget(new QLabel(QStringLiteral("类别："), this), 2, 0);
    editor->addWidget(kind_, 2, 1);
    editor->addWidget(new QLabel(QStringLiteral("提成员工："), this), 2, 2);
    editor->addWidget(staff_, 2, 3, 1, 3);

    staged_ = new ui::TextGrid(QStringLiteral("dbg_ConsTemp"),
                               {QStringLiteral("消费项目"), QStringLiteral("单价"), QStringLiteral("单位"),
                                QStringLiteral("数量"), QStringLiteral("类型"), QStringLiteral("消费金额"),
                                QStringLiteral("提成员工"), QStringLiteral("项目说明")},
                               this);
    // The item, its price, unit, quantity, kind and amount fit the half screen; the staff and
    // the note are a scroll away.
    const int widths[] = {104, 60, 40, 50, 44, 70, 80, 100};
    for (int c = 0; c < 8; ++c)
        staged_->setColumnWidth(c, widths[c]);
    staged_->horizontalHeader()->setStretchLastSection(true);

    // The two item choices.
    choiceHost_ = new QWidget(this);
    choiceHost_->setObjectName(QStringLiteral("pnl_ChoiceHost"));
    codePanel_ = new QWidget(choiceHost_);
    codePanel_->setObjectName(QStringLiteral("pnl_ByCode"));
    search_ = new QLineEdit(codePanel_);
    search_->setObjectName(QStringLiteral("edt_ItemSearch"));
    search_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z0-9]*")), search_));
    search_->installEventFilter(new ClearOnEntry(search_));
    codeItems_ = new ItemGrid(QStringLiteral("dbg_ItemsByCode"), codePanel_);
    auto* codeColumn = new QVBoxLayout(codePanel_);
    codeColumn->setContentsMargins(0, 0, 0, 0);
    codeColumn->addWidget(search_);
    codeColumn->addWidget(codeItems_, 1);
    listPanel_ = new QWidget(choiceHost_);
    listPanel_->setObjectName(QStringLiteral("pnl_ByList"));
    listMenu_ = new MenuBrowser(context_.db, QStringLiteral("List"), listPanel_);
    listItems_ = new ItemGrid(QStringLiteral("dbg_ItemsByList"), listPanel_);
    auto* listRow = new QHBoxLayout(listPanel_);
    listRow->setContentsMargins(0, 0, 0, 0);
    listRow->addWidget(listMenu_, 1);
    listRow->addWidget(listItems_, 2);
    // The choice takes half the screen, as wide as the window lets it be and never wider.
    choiceHost_->setMinimumWidth(200);

    auto* left = new QVBoxLayout;
    left->addLayout(editor);
    left->addWidget(staged_, 1);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(4, 0, 4, 4);
    body->addLayout(left, 1);
    body->addWidget(choiceHost_, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(toolbar_);
    column->addLayout(body, 1);

    pricePanel_ = new PriceAdjustPanel(this);
    newItemPanel_ = new NewItemPanel(context_.db, this);

    ui::connectGuarded(toolbar_->button(kByCode), &QToolButton::clicked, this,
                       &OrderingScreen::showCodePanel);
    ui::connectGuarded(toolbar_->button(kByList), &QToolButton::clicked, this,
                       &OrderingScreen::showListPanel);
    ui::connectGuarded(toolbar_->button(kDelete), &QToolButton::clicked, this, &OrderingScreen::deleteLine);
    ui::connectGuarded(toolbar_->button(kCommit), &QToolButton::clicked, this, &OrderingScreen::commit);
    ui::connectGuarded(toolbar_->button(kBack), &QToolButton::clicked, this, &OrderingScreen::back);
    ui::connectGuarded(toolbar_->button(kPrice), &QToolButton::clicked, this, &OrderingScreen::adjustPrice);
    ui::connectGuarded(toolbar_->button(kNewItem), &QToolButton::clicked, this, [this] {
        setScreenEnabled(false);
        newItemPanel_->present();
    });
    for (int k = 0; k < 4; ++k)
        ui::connectGuarded(toolbar_->button(kKindButtons[k]), &QToolButton::clicked, this,
                           [this, k] { setKind(kKinds[k]); });
    ui::connectGuarded(search_, &QLineEdit::textChanged, this, &OrderingScreen::search);
    ui::connectGuarded(search_, &QLineEdit::returnPressed, this, &OrderingScreen::searchEntered);
    for (ItemGrid* grid : {codeItems_, listItems_}) {
        ui::connectGuarded(grid, &ItemGrid::chosen, this, &OrderingScreen::choose);
        ui::connectGuarded(grid, &ItemGrid::takenOff, this, &OrderingScreen::takeOff);
    }
    ui::connectGuarded(listMenu_, &MenuBrowser::classChosen, this, [this](const QString& classCode) {
        listItems_->showItems(classCode.isEmpty() ? QList<OrderItem>()
                                                  : loadOrderItems(context_.db, classCode));
    });
    ui::connectGuarded(staged_, &QTableWidget::currentCellChanged, this, [this] { currentLineChanged(); });
    ui::connectGuarded(quantity_, &QLineEdit::editingFinished, this, &OrderingScreen::quantityFinished);
    ui::connectGuarded(quantity_, &QLineEdit::returnPressed, this, &OrderingScreen::quantityEntered);
    ui::connectGuarded(price_, &QLineEdit::returnPressed, this, &OrderingScreen::priceEntered);
    ui::connectGuarded(kind_, &QComboBox::activated, this,
                       [this](int index) { setKind(kKinds[qBound(0, index, 3)]); });
    ui::connectGuarded(note_, &QComboBox::activated, this, &OrderingScreen::postDetails);
    ui::connectGuarded(staff_, &QComboBox::activated, this, &OrderingScreen::postDetails);
    ui::connectGuarded(pricePanel_, &PriceAdjustPanel::confirmed, this,
                       [this](const QString& code, double price) {
                           ordering::adjustPrice(context_.db, code, price, staging_->billNumber());
                           reloadItems();
                           reloadLines(currentLineId());
                       });
    ui::connectGuarded(pricePanel_, &PriceAdjustPanel::closed, this, [this] { setScreenEnabled(true); });
    ui::connectGuarded(newItemPanel_, &NewItemPanel::added, this, &OrderingScreen::reloadItems);
    ui::connectGuarded(newItemPanel_, &NewItemPanel::closed, this, [this] {
        setScreenEnabled(true);
        focusChoice();
    });

    ui::KeyboardMap& keys = context_.keyboard;
    keys.bind(
        this, Qt::Key_Asterisk, [this] { commit(); }, ui::KeyOrigin::Keypad);
    keys.bind(
        this, Qt::Key_Minus, [this] { deleteLine(); }, ui::KeyOrigin::Keypad);
    keys.bind(this, Qt::Key_Escape, [this] { back(); });
    const int kindKeys[] = {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8};
    for (int k = 0; k < 4; ++k)
        keys.bind(this, kindKeys[k], [this, k] { setKind(kKinds[k]); });
    keys.bind(this, Qt::Key_F12, [this] {
        if (quantity_->isEnabled()) quantity_->setFocus();
    });
    keys.bind(this, Qt::Key_F11, [this] {
        toolbar_->button(ordering_tool::kByCode)->setChecked(true);
        showCodePanel();
    });
}

OrderingScreen::~OrderingScreen() = default;

bool OrderingScreen::start(const tables::WorkTable& work) {
    if (!context_.session.limite(kOrderingPermission)) return false;
    if (const QString refusal = orderingRefusal(context_.db, work.table.code); !refusal.isEmpty()) {
        messages::information(refusal);
        return false;
    }
    work_ = work;
    settings_ = billing::BillSettings::load(context_.db);
    const OperatorEntry* oper = context_.session.currentOperator();
    staging_ = std::make_unique<OrderStaging>(
        context_.db, work.guest.tabl_gues_auto_recn, work.table.code, oper ? oper->code : QString(),
        [this](const QString& code) { return context_.session.limite(code); });
    staging_->begin();

    note_->clear();
    note_->addItem(QString(), QString());
    for (const MenuEntry& note : loadNotes(context_.db))
        note_->addItem(note.name, note.code);
    kind_->clear();
    const QList<MenuEntry> kindNames = loadOrderKindNames(context_.db);
    for (const QString& kind : kKinds) {
        QString name = kind;
        for (const MenuEntry& entry : kindNames)
            if (entry.code == kind) name = entry.name;
        kind_->addItem(name, kind);
    }
    staff_->clear();
    staff_->addItem(QString(), QString());
    for (const tables::CommissionStaff& s : tables::loadCommissionStaff(context_.db))
        staff_->addItem(s.name, s.code);

    context_.enterMovesFocus.setEnabled(false);
    if (context_.progress) context_.progress(0);
    reloadItems();
    listMenu_->reload();
    reloadLines(0);
    pricePanel_->hide();
    newItemPanel_->hide();
    setScreenEnabled(true);
    context_.navigator.showPanel(this, context_.host, true);
    toolbar_->button(ordering_tool::kByCode)->setChecked(true);
    showCodePanel();
    return true;
}

void OrderingScreen::reloadItems() {
    codeItems_->showItems(loadOrderItems(context_.db));
    search(search_->text());
    listItems_->showItems(listMenu_->currentClass().isEmpty()
                              ? QList<OrderItem>()
                              : loadOrderItems(context_.db, listMenu_->currentClass()));
}

void OrderingScreen::showCodePanel() {
    context_.navigator.showPanel(codePanel_, choiceHost_, false);
    search_->clear();
    search_->setFocus();
}

void OrderingScreen::showListPanel() {
    context_.navigator.showPanel(listPanel_, choiceHost_, false);
    listItems_->setFocus();
}

void OrderingScreen::focusChoice() {
    if (codePanel_->isVisible())
        search_->setFocus();
    else
        listItems_->setFocus();
}

void OrderingScreen::search(const QString& typed) {
    codeItems_->showMatching(typed);
}

void OrderingScreen::searchEntered() {
    const QList<OrderItem>& shown = codeItems_->items();
    if (shown.size() == 1) {
        choose(shown.first());
    } else if (shown.size() > 1) {
        codeItems_->setFocus();
        codeItems_->chooseFirstShown();
    }
}

void OrderingScreen::choose(const OrderItem& item) {
    const Choice choice = staging_->choose(item);
    if (!choice.message.isEmpty()) messages::information(choice.message);
    if (choice.lineId == 0) {
        search_->clear();
        return;
    }
    search_->clear();
    reloadLines(choice.lineId);
    if (choice.appended) validate();
    quantity_->setFocus();
    quantity_->selectAll();
}

void OrderingScreen::takeOff(const OrderItem& item) {
    if (staging_->takeOneOff(item.code)) reloadLines(currentLineId());
}

int OrderingScreen::currentLineId() const {
    const int row = staged_->currentRow();
    return row >= 0 && row < lines_.size() ? lines_[row].id : 0;
}

void OrderingScreen::reloadLines(int select) {
    lines_ = staging_->lines();
    QList<QStringList> rows;
    int selected = lines_.isEmpty() ? -1 : int(lines_.size()) - 1;
    for (int i = 0; i < lines_.size(); ++i) {
        const StagedLine& l = lines_[i];
        if (l.id == select) selected = i;
        const int kindIndex = kind_->findData(l.kind);
        const int noteIndex = note_->findData(l.note);
        const int staffIndex = staff_->findData(l.staff);
        rows << QStringList{l.itemName,
                            QString::number(l.price, 'f', 2),
                            l.unit,
                            quantityText(l.quantity),
                            kindIndex >= 0 ? kind_->itemText(kindIndex) : l.kind,
                            QString::number(stagingLineAmount(l.quantity * l.price, settings_.lineRounding,
                                                              settings_.sumRounding),
                                            'f', 2),
                            staffIndex > 0 ? staff_->itemText(staffIndex) : QString(),
                            noteIndex > 0 ? note_->itemText(noteIndex) : QString()};
    }
    staged_->setRows(rows, selected);
    currentLineChanged();
}

void OrderingScreen::currentLineChanged() {
    const int row = staged_->currentRow();
    loadEditor(row >= 0 && row < lines_.size() ? std::optional<StagedLine>(lines_[row]) : std::nullopt);
}

void OrderingScreen::loadEditor(const std::optional<StagedLine>& line) {
    const std::optional<OrderItem> item = line ? loadOrderItem(context_.db, line->itemCode) : std::nullopt;
    itemCode_->setText(line ? line->itemCode : QString());
    itemName_->setText(line ? line->itemName : QString());
    itemUnit_->setText(line ? line->unit : QString());
    stock_->setText(item ? quantityText(item->stock) : QString());
    price_->setText(line ? QString::number(line->price, 'f', 2) : QString());
    quantity_->setText(line ? quantityText(line->quantity) : QString());
    quantity_->setModified(false);
    kind_->setCurrentIndex(line ? std::max(0, kind_->findData(line->kind)) : 0);
    note_->setCurrentIndex(line ? std::max(0, note_->findData(line->note)) : 0);
    staff_->setCurrentIndex(line ? std::max(0, staff_->findData(line->staff)) : 0);
    enableEditor(line.has_value());
    price_->setEnabled(line && line->realPrice);
}

void OrderingScreen::enableEditor(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{price_, quantity_, note_, kind_, staff_})
        w->setEnabled(enabled);
}

LineEdit OrderingScreen::typedLine() const {
    LineEdit edit;
    if (!quantity_->text().trimmed().isEmpty())
        edit.quantity =
            parseTypedNumber(quantity_->text(), NumberRange{-largestQuantity(), largestQuantity()});
    edit.price = typedPrice(price_->text());
    edit.kind = kind_->currentData().toString();
    edit.note = note_->currentData().toString();
    edit.staff = staff_->currentData().toString();
    return edit;
}

void OrderingScreen::validate() {
    const int id = currentLineId();
    if (id == 0 || checking_) return;
    checking_ = true;
    const Verdict verdict = staging_->validate(id, typedLine());
    if (!verdict.message.isEmpty()) messages::information(verdict.message);
    checking_ = false;
    if (verdict.accepted) {
        reloadLines(id);
        return;
    }
    // The line's changes are cancelled: the editor shows the line as it was.
    loadEditor(staging_->line(id));
    if (verdict.clearQuantity) {
        quantity_->clear();
        quantity_->setFocus();
    }
}

void OrderingScreen::quantityFinished() {
    const int row = staged_->currentRow();
    if (checking_ || row < 0 || row >= lines_.size()) return;
    // An emptied field (a refused quantity is cleared) waits for the quantity to be typed again.
    const QString typed = quantity_->text().trimmed();
    if (typed.isEmpty() || typed == quantityText(lines_[row].quantity)) return;
    // A quantity the line cannot hold is refused now, not at 落单: the field is emptied for
    // the quantity to be typed again.
    try {
        parseTypedNumber(typed, NumberRange{-largestQuantity(), largestQuantity()});
    } catch (const InvalidInput&) {
        checking_ = true;
        messages::information(kInvalidNumberMessage);
        checking_ = false;
        loadEditor(staging_->line(currentLineId()));
        quantity_->clear();
        quantity_->setFocus();
        return;
    }
    validate();
}

void OrderingScreen::quantityEntered() {
    quantityFinished();
    if (quantity_->text().trimmed().isEmpty() && quantity_->hasFocus()) return;
    if (price_->isEnabled())
        price_->setFocus();
    else
        focusChoice();
}

void OrderingScreen::priceEntered() {
    postDetails();
    focusChoice();
}

void OrderingScreen::setKind(const QString& kind) {
    const int id = currentLineId();
    if (id == 0 || !kind_->isEnabled()) return;
    kind_->setCurrentIndex(std::max(0, kind_->findData(kind)));
    validate();
}

void OrderingScreen::postDetails() {
    const int id = currentLineId();
    if (id == 0) return;
    LineEdit edit = typedLine();
    staging_->post(id, edit);
    reloadLines(id);
}

void OrderingScreen::deleteLine() {
    const int id = currentLineId();
    if (id == 0) return;
    if (!messages::ask(kDeleteLineQuestion)) return;
    staging_->remove(id);
    reloadLines(0);
    if (codePanel_->isVisible()) search_->setFocus();
}

void OrderingScreen::back() {
    if (!staging_->empty() && !messages::ask(kBackQuestion)) return;
    leave(work_);
}

void OrderingScreen::commit() {
    if (!messages::ask(kCommitQuestion)) return;
    if (staging_->empty()) {
        // The staged lines go with a bill another desk merged, settled or cleared meanwhile.
        const std::optional<tables::BoardTable> now = tables::loadBoardTable(context_.db, work_.table.code);
        if (!now || now->guestNumber != staging_->billNumber() || !orderingRefusal(context_.db, now->code).isEmpty()) {
            messages::information(tables::tableChangedElsewhereMessage(work_.table.code));
            closePanels();
            emit tableLost(work_.table.code);
        }
        return;
    }
    if (currentLineId() != 0) staging_->post(currentLineId(), typedLine());
    billing::GuestRecord saved;
    try {
        saved = commitOrder(context_.db, staging_->billNumber(), context_.clock, context_.progress, work_.table.code);
    } catch (const tables::TableChangedElsewhere& changed) {
        messages::information(changed.text());
        closePanels();
        emit tableLost(changed.tableCode());
        return;
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        reloadItems();
        reloadLines(currentLineId());
        return;
    }
    leave(tables::openedTable(context_.db, saved));
}

void OrderingScreen::leave(const tables::WorkTable& work) {
    closePanels();
    emit returned(work);
}

void OrderingScreen::closePanels() {
    pricePanel_->hide();
    newItemPanel_->hide();
    context_.enterMovesFocus.setEnabled(true);
    if (context_.progress) context_.progress(100);
}

void OrderingScreen::adjustPrice() {
    const ItemGrid* grid = codePanel_->isVisible() ? codeItems_ : listItems_;
    const std::optional<OrderItem> item = grid->current();
    if (!item) return;
    setScreenEnabled(false);
    pricePanel_->present(*item);
}

void OrderingScreen::setScreenEnabled(bool enabled) {
    toolbar_->setEnabled(enabled);
    staged_->setEnabled(enabled);
    choiceHost_->setEnabled(enabled);
    if (!enabled)
        enableEditor(false);
    else
        currentLineChanged();
}

} // namespace sorrel::ordering
