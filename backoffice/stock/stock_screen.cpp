// The item stock panel, the stock adjustment, the stock bills and a bill's lines.
#include "backoffice/stock/stock_screen.h"

#include "backoffice/consumption/item_components.h"
#include "backoffice/panels/candidate_picker_panel.h"
#include "backoffice/panels/list_panel.h"
#include "backoffice/stock/stock_navigation.h"
#include "backoffice/stock/stock_posting.h"
#include "backoffice/stock/stock_queries.h"
#include "common/db/errors.h"
#include "common/messages.h"
#include "common/typed_input.h"
#include "common/ui/grid_style.h"
#include "common/ui/guard.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

namespace sorrel::stock {

namespace {

using ui::GridColumn;

QString number(const QVariant& v) {
    return plainNumberText(v.toDouble());
}

// The item stock: kinds, classes, items, the stock flag box and the item's components.
class ItemStockPanel : public panels::ListPanel {
  public:
    ItemStockPanel(StockLists& lists, QWidget* parent)
        : panels::ListPanel(QStringLiteral("pnl_ItemStock"), lists.items(),
                            {{QStringLiteral("编码"), "item_code", {}, 50},
                             {QStringLiteral("项目名称"), "item_name", {}, 110},
                             {QStringLiteral("单位"), "item_unit", {}, 40},
                             {QStringLiteral("库存"), "item_coun", number, 50},
                             {QStringLiteral("限量"), "item_limi", {}, 40},
                             {QStringLiteral("单价"), "item_unit_pric", ui::amountText, 50},
                             {QStringLiteral("成本"), "item_cost_pric", ui::amountText, 50},
                             {QStringLiteral("类型"), "item_type_code",
                              [this](const QVariant& v) { return lists::nameOf(types_, v.toString()); }}},
                            parent),
          lists_(lists) {
        addSideGrid(lists.kinds(), {{QStringLiteral("大类"), "kind_name"}}, 120);
        addSideGrid(lists.classes(), {{QStringLiteral("分类"), "clas_name"}});
        onShow([this] { types_ = itemTypeChoices(lists_.db()); });
        item_ = new QLabel(this);
        item_->setObjectName(QStringLiteral("lbl_item"));
        addToForm(item_, 0, 0, 3);
        figures_ = new QLabel(this);
        figures_->setObjectName(QStringLiteral("lbl_figures"));
        addToForm(figures_, 1, 0, 3);
        auto* box = new QGroupBox(QStringLiteral("库存"), this);
        auto* row = new QHBoxLayout(box);
        for (const QString& flag : {kLimited, kUnlimited, kDisabled}) {
            auto* radio = new QRadioButton(flag, box);
            radio->setObjectName(QStringLiteral("rad_") + flag);
            row->addWidget(radio);
            flags_.append(radio);
            ui::connectGuarded(radio, &QRadioButton::clicked, this, [this, flag] { chooseFlag(flag); });
        }
        addToForm(box, 2, 0, 3);
        componentModel_ =
            new ui::RecordSetModel(components_,
                                   {{QStringLiteral("明细"), "item_code", {}, 50},
                                    {QStringLiteral("项目名称"), "item_name", {}, 100},
                                    {QStringLiteral("单位"), "item_unit", {}, 40},
                                    {QStringLiteral("库存"), "item_coun", number, 50},
                                    {QStringLiteral("限量"), "item_limi", {}, 40},
                                    {QStringLiteral("单价"), "item_unit_pric", ui::amountText, 50},
                                    {QStringLiteral("成本"), "item_cost_pric", ui::amountText, 50},
                                    {QStringLiteral("类型"), "item_type_code", {}, 40},
                                    {QStringLiteral("数量"), "grou_coun", number}},
                                   this);
        auto* components = ui::mainGrid(QStringLiteral("grd_components"), componentModel_, this);
        components->setMaximumHeight(110);
        form()->addWidget(components, 3, 0, 1, 6);
        for (auto signal : {&lists::MaintenanceList::currentChanged, &lists::MaintenanceList::recordChanged})
            ui::connectGuarded(&lists.items(), signal, this, [this] { showItem(); });
        ui::connectGuarded(&lists.items(), &lists::MaintenanceList::rowsReset, this, [this] { showItem(); });
        onShow([this] { showItem(); });
    }

  private:
    // The flag alone is saved at once, and the set meals and composites follow it.
    void chooseFlag(const QString& flag) {
        lists::MaintenanceList& items = lists_.items();
        if (items.current() < 0 || items.text(QStringLiteral("item_limi")) == flag) return;
        if (!items.edit(QStringLiteral("item_limi"), flag) || !items.save()) items.cancel();
        // The set meals and composites of the class have followed the flag.
        items.reload();
        showItem();
    }
    void showItem() {
        const lists::MaintenanceList& items = lists_.items();
        const bool any = items.current() >= 0;
        const QString type = items.text(QStringLiteral("item_type_code"));
        item_->setText(any ? items.text(QStringLiteral("item_name")) + QStringLiteral("  [") +
                                 lists::nameOf(types_, type) + QStringLiteral("]  ") +
                                 items.text(QStringLiteral("item_unit"))
                           : QString());
        figures_->setText(any ? QStringLiteral("库存：%1    单价：%2    成本：%3")
                                    .arg(number(items.value(QStringLiteral("item_coun"))),
                                         ui::amountText(items.value(QStringLiteral("item_unit_pric"))),
                                         ui::amountText(items.value(QStringLiteral("item_cost_pric"))))
                              : QString());
        // Set meals and composites take their flag from their components.
        const bool own = any && type != QLatin1String("2") && type != QLatin1String("3");
        for (QRadioButton* radio : flags_) {
            radio->setEnabled(own);
            radio->setChecked(any && radio->text() == items.text(QStringLiteral("item_limi")));
        }
        components_ = any ? lists_.currentComponents() : RecordSet();
        componentModel_->refresh();
    }

    StockLists& lists_;
    lists::Choices types_;
    QLabel* item_;
    QLabel* figures_;
    QList<QRadioButton*> flags_;
    RecordSet components_;
    ui::RecordSetModel* componentModel_;
};

// The adjustment being typed: candidates on the left, the current row, the rows below.
class AdjustmentPanel : public QWidget {
  public:
    AdjustmentPanel(StockAdjustment& adjustment, Database& db, QWidget* parent)
        : QWidget(parent), adjustment_(adjustment), db_(db) {
        setObjectName(QStringLiteral("pnl_StockAdjust"));
        picker_ =
            new panels::CandidatePicker({{QStringLiteral("编码"), "item_code", {}, 45},
                                         {QStringLiteral("项目名称"), "item_name", {}, 60},
                                         {QStringLiteral("库存"), "item_coun", number}},
                                        QStringLiteral("编码/快捷"), consumption::matchingCandidates, this);
        auto* form = new QFrame(this);
        form->setFrameShape(QFrame::StyledPanel);
        auto* grid = new QGridLayout(form);
        item_ = new QLabel(form);
        item_->setObjectName(QStringLiteral("lbl_item"));
        prices_ = new QLabel(form);
        stock_ = new QLabel(form);
        change_ = new QLineEdit(form);
        change_->setObjectName(QStringLiteral("edt_change"));
        change_->setMaxLength(6);
        change_->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d*\\.?\\d*")), change_));
        grid->addWidget(panels::fieldCaption(QStringLiteral("项目名称："), form), 0, 0);
        grid->addWidget(item_, 0, 1, 1, 3);
        grid->addWidget(panels::fieldCaption(QStringLiteral("单价/成本："), form), 1, 0);
        grid->addWidget(prices_, 1, 1);
        grid->addWidget(panels::fieldCaption(QStringLiteral("库存："), form), 1, 2);
        grid->addWidget(stock_, 1, 3);
        grid->addWidget(panels::fieldCaption(QStringLiteral("增减数量："), form), 2, 0);
        grid->addWidget(change_, 2, 1);
        const auto stockOf = [this](const QVariant& code) {
            const RecordSet& c = adjustment_.candidates();
            const int row = c.locate({{QStringLiteral("item_code"), code}});
            return row < 0 ? QString() : number(c.value(row, "item_coun"));
        };
        model_ = new ui::RecordSetModel(
            rows_,
            {{QStringLiteral("编码"), "item_code", {}, 50},
             {QStringLiteral("项目名称"), "item_name", {}, 100},
             {QStringLiteral("单位"), "item_unit", {}, 40},
             {QStringLiteral("单价"), "item_unit_pric", ui::amountText, 50},
             {QStringLiteral("成本"), "item_cost_pric", ui::amountText, 50},
             {QStringLiteral("增减数量"), "item_coun", number, 60},
             {QStringLiteral("限量"), "item_limi", {}, 40},
             {QStringLiteral("库存"), "item_code", stockOf, 50},
             {QStringLiteral("类型"), "item_type_code",
              [this](const QVariant& v) { return lists::nameOf(types_, v.toString()); }}},
            this);
        rowsGrid_ = ui::mainGrid(QStringLiteral("grd_adjustment"), model_, this);
        auto* right = new QVBoxLayout;
        right->addWidget(form);
        right->addWidget(rowsGrid_, 1);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(4, 4, 4, 4);
        row->addWidget(picker_);
        row->addLayout(right, 1);

        ui::connectGuarded(picker_, &panels::CandidatePicker::picked, this,
                           [this](const RecordSet& shown, int r) {
                               adjustment_.pick(shown.text(r, QStringLiteral("item_code")));
                               picker_->searchBox()->clear();
                               showRows();
                               change_->setFocus();
                               change_->selectAll();
                           });
        ui::connectGuarded(change_, &QLineEdit::textEdited, this, [this](const QString& text) {
            adjustment_.enterChange(text);
            rows_ = adjustment_.rows();
            model_->rowChanged(adjustment_.current());
        });
        ui::connectGuarded(change_, &QLineEdit::returnPressed, picker_, &panels::CandidatePicker::restart);
        ui::connectGuarded(rowsGrid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
            adjustment_.setCurrent(index.row());
            showRows();
        });
        ui::connectGuarded(&adjustment_, &StockAdjustment::rowsChanged, this, [this] { showRows(); });
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        types_ = itemTypeChoices(db_);
        picker_->setCandidates(adjustment_.candidates());
        showRows();
        picker_->restart();
    }

  private:
    void showRows() {
        rows_ = adjustment_.rows();
        model_->refresh();
        const int r = adjustment_.current();
        const RecordSet& rows = adjustment_.rows();
        if (r >= 0) rowsGrid_->selectRow(r);
        item_->setText(r < 0 ? QString()
                             : rows.text(r, "item_code") + QStringLiteral("/") + rows.text(r, "item_name") +
                                   QStringLiteral("  ") + rows.text(r, "item_unit"));
        prices_->setText(r < 0 ? QString()
                               : ui::amountText(rows.value(r, "item_unit_pric")) + QStringLiteral("/") +
                                     ui::amountText(rows.value(r, "item_cost_pric")));
        const RecordSet& c = adjustment_.candidates();
        const int at = r < 0 ? -1 : c.locate({{QStringLiteral("item_code"), rows.value(r, "item_code")}});
        stock_->setText(at < 0 ? QString() : number(c.value(at, "item_coun")));
        change_->setEnabled(r >= 0);
        change_->setText(r < 0 ? QString() : number(rows.value(r, "item_coun")));
    }

    StockAdjustment& adjustment_;
    Database& db_;
    lists::Choices types_;
    panels::CandidatePicker* picker_;
    QLabel* item_;
    QLabel* prices_;
    QLabel* stock_;
    QLineEdit* change_;
    RecordSet rows_;
    ui::RecordSetModel* model_;
    QTableView* rowsGrid_;
};

lists::Choices billTypes() {
    return {{kPurchase, kPurchase}, {kReturn, kReturn}, {kSale, kSale}};
}

// The open bills: the bill's fields, its amounts by type, its lines and the cost box.
class BillsPanel : public panels::ListPanel {
  public:
    BillsPanel(StockLists& lists, panels::Workspace& workspace, QWidget* parent)
        : panels::ListPanel(
              QStringLiteral("pnl_StoreBill"), lists.bills(),
              {{QStringLiteral("编码"), "stor_bill_code", {}, 70},
               {QStringLiteral("类型"), "stor_bill_type", {}, 50},
               {QStringLiteral("单位简称"), "work_name_s", {}, 70},
               {QStringLiteral("操作员"), "oper_code",
                [this](const QVariant& v) { return lists::nameOf(operators_, v.toString()); }, 60},
               {QStringLiteral("应付帐款"), "stor_pay_shou", ui::amountText, 60},
               {QStringLiteral("已付金额"), "stor_pay_fact", ui::amountText, 60},
               {QStringLiteral("应收金额"), "stor_inco_shou", ui::amountText, 60},
               {QStringLiteral("已收金额"), "stor_inco_fact", ui::amountText, 60},
               {QStringLiteral("备注"), "stor_bill_rema"}},
              parent),
          lists_(lists) {
        onShow([this] { operators_ = lists_.operatorChoices(); });
        addChoice(QStringLiteral("单据类别："), "stor_bill_type", billTypes, 0, 0);
        addEdit(QStringLiteral("单据编号："), "stor_bill_code", 0, 1);
        addChoice(
            QStringLiteral("单位类型："), "stor_work_type_code",
            [this] { return lists_.partnerTypeChoices(); }, 1, 0);
        addChoice(
            QStringLiteral("往来单位："), "work_code", [this] { return lists_.billPartnerChoices(); }, 1, 1);
        addChoice(
            QStringLiteral("经手员工："), "oper_code", [this] { return lists_.operatorChoices(); }, 2, 0);
        // The two amount boxes show the pair of the bill's type.
        for (const QString& type : {kPurchase, kSale}) {
            const AmountColumns columns = amountColumnsOf(type);
            const bool purchase = type == kPurchase;
            Pair pair;
            pair.dueCaption = panels::fieldCaption(
                purchase ? QStringLiteral("应付金额：") : QStringLiteral("应收金额："), this);
            pair.settledCaption = panels::fieldCaption(
                purchase ? QStringLiteral("已付金额：") : QStringLiteral("已收金额："), this);
            pair.due = amountEdit(columns.due);
            pair.settled = amountEdit(columns.settled);
            form()->addWidget(pair.dueCaption, 3, 0);
            form()->addWidget(pair.due, 3, 1);
            form()->addWidget(pair.settledCaption, 3, 2);
            form()->addWidget(pair.settled, 3, 3);
            pairs_.append(pair);
        }
        addEdit(QStringLiteral("备注说明："), "stor_bill_rema", 4, 0);
        auto* caption = new QLabel(QStringLiteral("货物明细"), this);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        form()->addWidget(caption, 5, 0);
        auto* enter = new QPushButton(QStringLiteral("货物明细"), this);
        enter->setObjectName(QStringLiteral("btn_Lines"));
        form()->addWidget(enter, 5, 1);
        averaging_ = new QCheckBox(QStringLiteral("根据成本价格自动调整消费成本"), this);
        averaging_->setObjectName(QStringLiteral("chk_calc_cost"));
        form()->addWidget(averaging_, 5, 2, 1, 4);
        auto* lines = new panels::ListGrid(lists.lines(),
                                           {{QStringLiteral("编码"), "item_code", {}, 50},
                                            {QStringLiteral("项目名称"), "item_name", {}, 100},
                                            {QStringLiteral("单位"), "item_unit", {}, 40},
                                            {QStringLiteral("单价"), "item_cost_pric", ui::amountText, 50},
                                            {QStringLiteral("数量"), "item_coun", number, 50},
                                            {QStringLiteral("总额"), "item_mone", ui::amountText, 60},
                                            {QStringLiteral("备注"), "item_rema"}},
                                           panels::ListGrid::Role::Side, this);
        lines->setObjectName(QStringLiteral("grd_bill_lines"));
        lines->setMaximumHeight(100);
        form()->addWidget(lines, 6, 0, 1, 6);
        ui::connectGuarded(enter, &QPushButton::clicked, this,
                           [this, &workspace] { enterLines(workspace, lists_); });
        ui::connectGuarded(averaging_, &QCheckBox::toggled, this,
                           [this](bool on) { setAverageCost(lists_.db(), on); });
        for (auto signal : {&lists::MaintenanceList::currentChanged, &lists::MaintenanceList::recordChanged})
            ui::connectGuarded(&lists.bills(), signal, this, [this] { showPair(); });
        ui::connectGuarded(&lists.bills(), &lists::MaintenanceList::rowsReset, this, [this] { showPair(); });
        onShow([this] {
            const QSignalBlocker quiet(averaging_);
            averaging_->setChecked(averageCostOn(lists_.db()));
            showPair();
        });
    }

  private:
    struct Pair {
        QLabel* dueCaption;
        QLabel* settledCaption;
        QLineEdit* due;
        QLineEdit* settled;
    };
    QLineEdit* amountEdit(const QString& column) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("dbe_") + column);
        fields().bindEdit(edit, column, panels::FieldKind::Amount);
        edit->setMaxLength(12);
        return edit;
    }
    void showPair() {
        const bool purchase = directionOf(lists_.bills().text(QStringLiteral("stor_bill_type"))) > 0;
        for (int i = 0; i < pairs_.size(); ++i) {
            const bool shown = (i == 0) == purchase;
            for (QWidget* w : std::initializer_list<QWidget*>{pairs_[i].dueCaption, pairs_[i].settledCaption,
                                                              pairs_[i].due, pairs_[i].settled})
                w->setVisible(shown);
        }
    }

    StockLists& lists_;
    lists::Choices operators_;
    QList<Pair> pairs_;
    QCheckBox* averaging_;
};

// A bill's lines: the current line, the bill's lines, the item picker.
class LinesPanel : public panels::ListPanel {
  public:
    LinesPanel(StockLists& lists, QWidget* parent)
        : panels::ListPanel(QStringLiteral("pnl_StoreDetail"), lists.lines(),
                            {{QStringLiteral("编码"), "item_code", {}, 50},
                             {QStringLiteral("项目名称"), "item_name", {}, 110},
                             {QStringLiteral("单位"), "item_unit", {}, 40},
                             {QStringLiteral("单价"), "item_cost_pric", ui::amountText, 60},
                             {QStringLiteral("数量"), "item_coun", number, 60},
                             {QStringLiteral("备注"), "item_rema"}},
                            parent),
          lists_(lists) {
        item_ = new QLabel(this);
        item_->setObjectName(QStringLiteral("lbl_item"));
        form()->addWidget(panels::fieldCaption(QStringLiteral("项目名称："), this), 0, 0);
        form()->addWidget(item_, 0, 1, 1, 3);
        quantity_ = addEdit(QStringLiteral("数量："), "item_coun", 1, 0, panels::FieldKind::Amount);
        price_ = addEdit(QStringLiteral("单价："), "item_cost_pric", 1, 1, panels::FieldKind::Amount);
        quantity_->setMaxLength(5);
        price_->setMaxLength(5);
        QLineEdit* remark = addEdit(QStringLiteral("备注："), "item_rema", 2, 0);
        picker_ = new panels::CandidatePicker(
            {{QStringLiteral("编码"), "item_code", {}, 50}, {QStringLiteral("项目名称"), "item_name"}},
            QStringLiteral("编码/快捷"), consumption::matchingCandidates, this);
        sideColumn()->addWidget(picker_, 1);
        // Disabled items stand out in red, the uncounted in green.
        picker_->model()->setRowColour([](const RecordSet& rows, int row) {
            const QString flag = rows.text(row, QStringLiteral("item_limi"));
            return flag == kDisabled    ? QColor(Qt::red)
                   : flag == kUnlimited ? QColor(Qt::darkGreen)
                                        : QColor();
        });
        ui::connectGuarded(picker_, &panels::CandidatePicker::picked, this,
                           [this](const RecordSet& shown, int r) {
                               try {
                                   lists_.addLine(shown.text(r, QStringLiteral("item_code")));
                               } catch (const StepRefused& refused) {
                                   messages::information(refused.text());
                                   picker_->restart();
                                   return;
                               }
                               picker_->searchBox()->clear();
                               price_->setFocus();
                               price_->selectAll();
                           });
        ui::connectGuarded(remark, &QLineEdit::returnPressed, picker_, &panels::CandidatePicker::restart);
        for (auto signal : {&lists::MaintenanceList::currentChanged, &lists::MaintenanceList::recordChanged})
            ui::connectGuarded(&lists.lines(), signal, this, [this] { showLine(); });
        ui::connectGuarded(&lists.lines(), &lists::MaintenanceList::rowsReset, this, [this] { showLine(); });
    }

  protected:
    void showEvent(QShowEvent* event) override {
        picker_->setCandidates(lists_.pickerItems());
        panels::ListPanel::showEvent(event);
        showLine();
        picker_->restart();
    }

  private:
    void showLine() {
        const lists::MaintenanceList& lines = lists_.lines();
        item_->setText(lines.current() < 0
                           ? QString()
                           : lines.text(QStringLiteral("item_code")) + QStringLiteral("/") +
                                 lines.text(QStringLiteral("item_name")) + QStringLiteral("  ") +
                                 lines.text(QStringLiteral("item_unit")));
    }

    StockLists& lists_;
    QLabel* item_;
    QLineEdit* quantity_;
    QLineEdit* price_;
    panels::CandidatePicker* picker_;
};

} // namespace

QHash<QString, QWidget*> makeStockPanels(const panels::BackOfficeContext& context, StockLists& lists,
                                         StockAdjustment& adjustment) {
    QWidget* parent = context.host;
    auto* typing = new AdjustmentPanel(adjustment, context.db, parent);
    context.workspace.setStockAdjust([&context, &lists, &adjustment] {
        messages::information(kAdjustmentAdvice);
        startAdjustment(context.workspace, lists, adjustment);
    });
    return {
        {kItemStockPanel, new ItemStockPanel(lists, parent)},
        {kAdjustmentPanel, typing},
        {kBillsPanel, new BillsPanel(lists, context.workspace, parent)},
        {kLinesPanel, new LinesPanel(lists, parent)},
    };
}

} // namespace sorrel::stock
