// The inventory's query panels: stock accounts, goods query, stock take (with the counts, the
// low-stock list and the printed sheet and menu) and ingredient use.
#include "backoffice/stock/stock_documents.h"
#include "backoffice/stock/stock_queries.h"
#include "backoffice/stock/stock_screen.h"
#include "common/export/sheet.h"
#include "common/messages.h"
#include "common/typed_input.h"
#include "common/ui/date_picker.h"
#include "common/ui/export_actions.h"
#include "common/ui/grid_style.h"
#include "common/ui/guard.h"
#include "common/ui/print/print_document.h"
#include "common/ui/record_set_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

namespace sorrel::stock {

namespace {

using ui::GridColumn;

QString number(const QVariant& v) {
    return plainNumberText(v.toDouble());
}
QString dayText(const QVariant& v) {
    return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd"));
}
QString momentText(const QVariant& v) {
    return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// What kind of figure a field holds, for a spreadsheet.
exporting::CellKind exportKind(const QString& field) {
    using exporting::CellKind;
    if (field == QLatin1String("stor_bill_date")) return CellKind::DateTime;
    if (field.endsWith(QLatin1String("_work"))) return CellKind::Date;
    if (field == QLatin1String("item_coun") || field == QLatin1String("mixt")) return CellKind::Quantity;
    for (const char* money : {"_pric", "_mone", "_shou", "_fact"})
        if (field.endsWith(QLatin1String(money))) return CellKind::Money;
    return CellKind::Text;
}

// One snapshot shown in a grid of its own, re-read when asked.
struct SnapshotGrid {
    RecordSet rows;
    ui::RecordSetModel* model = nullptr;
    QTableView* view = nullptr;

    void make(const QString& objectName, QList<GridColumn> columns, QWidget* parent) {
        model = new ui::RecordSetModel(rows, std::move(columns), parent);
        view = ui::mainGrid(objectName, model, parent);
    }
    void show(RecordSet fresh) {
        rows = std::move(fresh);
        model->refresh();
        if (!rows.isEmpty()) view->selectRow(0);
    }
    // The grid as it goes out to a file: each field once, figures as figures.
    exporting::Sheet sheet(const QString& name) const {
        QVector<exporting::ExportColumn> columns;
        QStringList fields;
        for (const GridColumn& c : model->gridColumns()) {
            if (fields.contains(c.column)) continue; // a looked-up value beside its code
            fields << c.column;
            columns.append({c.caption, exportKind(c.column)});
        }
        return exporting::recordSetSheet(name, columns, rows, fields);
    }
    int selected() const {
        const QModelIndex i = view->currentIndex();
        return i.isValid() && i.row() < rows.rowCount() ? i.row() : (rows.isEmpty() ? -1 : 0);
    }
};

QPushButton* button(const QString& caption, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

void preview(const document::Document& d, QWidget* parent) {
    ui::print::printDocument(d, ui::print::PrintTarget::preview(document::PageFormat::a4()), parent);
}

// "导出": the grid as it is shown, into a CSV file the operator names.
QPushButton* exportButton(QWidget* panel, const SnapshotGrid& grid, const QString& name) {
    QPushButton* b = button(QStringLiteral("导出"), QStringLiteral("btn_Export"), panel);
    ui::connectGuarded(b, &QPushButton::clicked, panel, [panel, &grid, name] {
        ui::exportCsv(panel, name, [&grid, name] { return grid.sheet(name); });
    });
    return b;
}

// What a query panel is handed.
struct QueryContext {
    Database& db;
    const Clock& clock;
    LoginSession& session;

    PrintedBy by() const {
        const OperatorEntry* who = session.currentOperator();
        return printedBy(db, who ? who->name : QString(), clock.now());
    }
};

// The posted bills, their staff by name.
QList<GridColumn> billColumns(const lists::Choices& operators) {
    return {{QStringLiteral("编码"), "stor_bill_code", {}, 70},
            {QStringLiteral("类型"), "stor_bill_type", {}, 50},
            {QStringLiteral("单位简称"), "work_name_s", {}, 70},
            {QStringLiteral("操作员"), "oper_code",
             [&operators](const QVariant& v) { return lists::nameOf(operators, v.toString()); }, 50},
            {QStringLiteral("应付帐款"), "stor_pay_shou", ui::amountText, 60},
            {QStringLiteral("已付金额"), "stor_pay_fact", ui::amountText, 60},
            {QStringLiteral("应收金额"), "stor_inco_shou", ui::amountText, 60},
            {QStringLiteral("已收金额"), "stor_inco_fact", ui::amountText, 60},
            {QStringLiteral("备注"), "stor_bill_rema", {}, 60},
            {QStringLiteral("日期"), "stor_bill_date_work", dayText}};
}

QList<GridColumn> lineColumns() {
    return {{QStringLiteral("编码"), "item_code", {}, 50},
            {QStringLiteral("项目名称"), "item_name", {}, 110},
            {QStringLiteral("单位"), "item_unit", {}, 40},
            {QStringLiteral("单价"), "item_cost_pric", ui::amountText, 60},
            {QStringLiteral("数量"), "item_coun", number, 50},
            {QStringLiteral("总额"), "item_mone", ui::amountText, 60},
            {QStringLiteral("备注"), "item_rema"}};
}

class StockAccountsPanel : public QWidget {
  public:
    StockAccountsPanel(QueryContext context, panels::Workspace& workspace, QWidget* parent)
        : QWidget(parent), context_(context) {
        setObjectName(QStringLiteral("pnl_StockAccounts"));
        from_ = ui::datePicker(QStringLiteral("dtp_from"), this);
        to_ = ui::datePicker(QStringLiteral("dtp_to"), this);
        partner_ = new QComboBox(this);
        partner_->setObjectName(QStringLiteral("dbl_work_code"));
        auto* print = button(QStringLiteral("打印单据"), QStringLiteral("btn_PrintBill"), this);
        auto* top = new QHBoxLayout;
        top->addWidget(new QLabel(QStringLiteral("开始时间："), this));
        top->addWidget(from_);
        top->addWidget(new QLabel(QStringLiteral("结束时间："), this));
        top->addWidget(to_);
        top->addWidget(new QLabel(QStringLiteral("往来单位："), this));
        top->addWidget(partner_, 1);
        top->addWidget(print);
        bills_.make(QStringLiteral("grd_posted_bills"), billColumns(operators_), this);
        top->addWidget(exportButton(this, bills_, QStringLiteral("库存帐务")));
        lines_.make(QStringLiteral("grd_posted_lines"), lineColumns(), this);
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(4, 4, 4, 4);
        column->addLayout(top);
        column->addWidget(bills_.view, 3);
        column->addWidget(new QLabel(QStringLiteral("明细列表"), this));
        column->addWidget(lines_.view, 2);
        ui::connectGuarded(partner_, &QComboBox::activated, this, [this] { apply(); });
        ui::connectGuarded(bills_.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                           [this] { showLines(); });
        ui::connectGuarded(print, &QPushButton::clicked, this, [this] {
            const int r = bills_.selected();
            if (r >= 0)
                preview(postedBillDocument(context_.db, bills_.rows.value(r, "stor_bill_ID"), context_.by()),
                        this);
        });
        workspace.setQuery(QStringLiteral("库存帐务"), [this] { apply(); });
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        from_->setDate(context_.clock.today());
        to_->setDate(context_.clock.today());
        operators_ = operatorChoices(context_.db);
        partner_->clear();
        for (const lists::Choice& c : postedPartners(context_.db))
            partner_->addItem(c.name, c.code);
        partner_->setCurrentIndex(-1);
        apply();
    }

  private:
    void apply() {
        bills_.show(postedBills(context_.db, partner_->currentData().toString(), from_->date(), to_->date()));
        showLines();
    }
    void showLines() {
        const int r = bills_.selected();
        lines_.show(postedLines(context_.db, r < 0 ? QVariant() : bills_.rows.value(r, "stor_bill_ID")));
    }

    QueryContext context_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* partner_;
    lists::Choices operators_;
    SnapshotGrid bills_, lines_;
};

class GoodsQueryPanel : public QWidget {
  public:
    GoodsQueryPanel(QueryContext context, panels::Workspace& workspace, QWidget* parent)
        : QWidget(parent), context_(context) {
        setObjectName(QStringLiteral("pnl_GoodsQuery"));
        from_ = ui::datePicker(QStringLiteral("dtp_from"), this);
        to_ = ui::datePicker(QStringLiteral("dtp_to"), this);
        code_ = new QLineEdit(this);
        code_->setObjectName(QStringLiteral("edt_item_code"));
        code_->setMaxLength(6);
        auto* top = new QHBoxLayout;
        top->addWidget(new QLabel(QStringLiteral("开始时间："), this));
        top->addWidget(from_);
        top->addWidget(new QLabel(QStringLiteral("结束时间："), this));
        top->addWidget(to_);
        top->addWidget(new QLabel(QStringLiteral("货物代码："), this));
        top->addWidget(code_);
        top->addStretch();
        lines_.make(QStringLiteral("grd_goods"),
                    {{QStringLiteral("营业日期"), "stor_bill_date_work", dayText, 75},
                     {QStringLiteral("类型"), "stor_bill_type", {}, 50},
                     {QStringLiteral("往来单位"), "work_name_s", {}, 60},
                     {QStringLiteral("编码"), "item_code", {}, 45},
                     {QStringLiteral("项目名称"), "item_name", {}, 80},
                     {QStringLiteral("单位"), "item_unit", {}, 35},
                     {QStringLiteral("单价"), "item_cost_pric", ui::amountText, 50},
                     {QStringLiteral("数量"), "item_coun", number, 45},
                     {QStringLiteral("总额"), "item_mone", ui::amountText, 55},
                     {QStringLiteral("备注"), "item_rema", {}, 50},
                     {QStringLiteral("时间"), "stor_bill_date", momentText}},
                    this);
        top->addWidget(exportButton(this, lines_, QStringLiteral("帐务查询")));
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(4, 4, 4, 4);
        column->addLayout(top);
        column->addWidget(lines_.view, 1);
        workspace.setQuery(QStringLiteral("帐务查询"), [this] {
            lines_.show(goodsLines(context_.db, code_->text(), DateRange{from_->date(), to_->date()}));
        });
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        from_->setDate(context_.clock.today());
        to_->setDate(context_.clock.today());
        lines_.show(goodsLines(context_.db, QString(), std::nullopt));
    }

  private:
    QueryContext context_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLineEdit* code_;
    SnapshotGrid lines_;
};

class StockTakePanel : public QWidget {
  public:
    StockTakePanel(QueryContext context, QWidget* parent) : QWidget(parent), context_(context) {
        setObjectName(QStringLiteral("pnl_StockTake"));
        byKind_ = new QCheckBox(QStringLiteral("按大类"), this);
        byKind_->setObjectName(QStringLiteral("chk_by_kind"));
        kind_ = new QComboBox(this);
        kind_->setObjectName(QStringLiteral("dbl_kind_code"));
        counted_ = new QLineEdit(this);
        counted_->setObjectName(QStringLiteral("edt_counted"));
        counted_->setMaxLength(10);
        counted_->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("\\d{0,9}(\\.\\d{0,2})?")), counted_));
        auto* top = new QHBoxLayout;
        top->addWidget(byKind_);
        top->addWidget(kind_);
        const struct {
            const char* caption;
            const char* name;
            void (StockTakePanel::*action)();
        } buttons[] = {{"盘点表", "btn_Sheet", &StockTakePanel::printSheet},
                       {"统计", "btn_Count", &StockTakePanel::countedItems},
                       {"菜  谱", "btn_Menu", &StockTakePanel::printMenu},
                       {"库存预警", "btn_LowStock", &StockTakePanel::lowStockItems},
                       {"盘点调整", "btn_ApplyCounts", &StockTakePanel::applyCounted}};
        for (const auto& b : buttons) {
            QPushButton* pb = button(QString::fromUtf8(b.caption), QLatin1String(b.name), this);
            top->addWidget(pb);
            ui::connectGuarded(pb, &QPushButton::clicked, this, b.action);
        }
        top->addStretch();
        auto* countRow = new QHBoxLayout;
        countRow->addWidget(new QLabel(QStringLiteral("实盘："), this));
        countRow->addWidget(counted_);
        countRow->addStretch();
        items_.make(QStringLiteral("grd_stock_take"),
                    {{QStringLiteral("编码"), "item_code", {}, 50},
                     {QStringLiteral("项目名称"), "item_name", {}, 110},
                     {QStringLiteral("单位"), "item_unit", {}, 40},
                     {QStringLiteral("库存"), "item_coun", number, 50},
                     {QStringLiteral("限量"), "item_limi", {}, 40},
                     {QStringLiteral("单价"), "item_unit_pric", ui::amountText, 50},
                     {QStringLiteral("成本"), "item_cost_pric", ui::amountText, 50},
                     {QStringLiteral("类型"), "item_type_name", {}, 45},
                     {QStringLiteral("实盘"), "item_code",
                      [this](const QVariant& code) {
                          const auto it = counts_.constFind(code.toString());
                          return it == counts_.constEnd() ? QString() : plainNumberText(*it);
                      }}},
                    this);
        top->insertWidget(top->count() - 1, exportButton(this, items_, QStringLiteral("库存盘点")));
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(4, 4, 4, 4);
        column->addLayout(top);
        column->addLayout(countRow);
        column->addWidget(items_.view, 1);
        ui::connectGuarded(byKind_, &QCheckBox::toggled, kind_, &QWidget::setEnabled);
        ui::connectGuarded(items_.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                           [this] { showCount(); });
        ui::connectGuarded(counted_, &QLineEdit::textEdited, this, [this](const QString& text) {
            const int r = items_.selected();
            if (r < 0 || !countable_) return;
            const QString code = items_.rows.text(r, "item_code");
            if (text.trimmed().isEmpty())
                counts_.remove(code);
            else
                counts_.insert(code, parseTypedNumber(text));
            items_.model->rowChanged(r);
        });
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        kind_->clear();
        for (const lists::Choice& c : kindChoices(context_.db))
            kind_->addItem(c.name, c.code);
        kind_->setEnabled(byKind_->isChecked());
        countedItems();
    }

  private:
    QString kind() const { return byKind_->isChecked() ? kind_->currentData().toString() : QString(); }
    // The counted items as they stand now: the book stock a count is taken against.
    void countedItems() {
        counts_.clear();
        countable_ = true;
        items_.show(stockTake(context_.db, StockTakeRows::Counted, kind()));
        showCount();
    }
    void lowStockItems() {
        counts_.clear();
        countable_ = false;
        items_.show(lowStock(context_.db));
        showCount();
    }
    void printSheet() {
        countedItems();
        preview(stockTakeSheet(items_.rows, context_.by()), this);
    }
    void printMenu() {
        preview(menuSheet(stockTake(context_.db, StockTakeRows::Menu, kind()), context_.by()), this);
    }
    void applyCounted() {
        if (counts_.isEmpty() || !messages::ask(QStringLiteral("是否按[实盘]数量调整库存？"))) return;
        QList<Count> counts;
        for (int i = 0; i < items_.rows.rowCount(); ++i) {
            const auto it = counts_.constFind(items_.rows.text(i, "item_code"));
            if (it != counts_.constEnd()) counts.append({it.key(), items_.rows.number(i, "item_coun"), *it});
        }
        applyCounts(context_.db, counts);
        countedItems();
    }
    void showCount() {
        const int r = items_.selected();
        counted_->setEnabled(r >= 0 && countable_);
        const auto it = r < 0 ? counts_.constEnd() : counts_.constFind(items_.rows.text(r, "item_code"));
        counted_->setText(it == counts_.constEnd() ? QString() : plainNumberText(*it));
    }

    QueryContext context_;
    QCheckBox* byKind_;
    QComboBox* kind_;
    QLineEdit* counted_;
    SnapshotGrid items_;
    // The counts typed, by item; only on the counted items as "统计" read them.
    QMap<QString, double> counts_;
    bool countable_ = true;
};

class IngredientUsePanel : public QWidget {
  public:
    IngredientUsePanel(QueryContext context, QWidget* parent) : QWidget(parent), context_(context) {
        setObjectName(QStringLiteral("pnl_IngredientUse"));
        from_ = ui::datePicker(QStringLiteral("dtp_from"), this);
        to_ = ui::datePicker(QStringLiteral("dtp_to"), this);
        auto* again = button(QStringLiteral("重新统计"), QStringLiteral("btn_Recount"), this);
        auto* print = button(QStringLiteral("配料使用统计制表"), QStringLiteral("btn_PrintUse"), this);
        auto* top = new QHBoxLayout;
        top->addWidget(new QLabel(QStringLiteral("开始时间："), this));
        top->addWidget(from_);
        top->addWidget(new QLabel(QStringLiteral("结束时间："), this));
        top->addWidget(to_);
        top->addWidget(again);
        top->addWidget(print);
        top->addStretch();
        use_.make(QStringLiteral("grd_ingredient_use"),
                  {{QStringLiteral("项目名称"), "item_name", {}, 150},
                   {QStringLiteral("单位"), "item_unit", {}, 60},
                   {QStringLiteral("使用量"), "mixt", number}},
                  this);
        top->insertWidget(top->count() - 1, exportButton(this, use_, QStringLiteral("配料使用")));
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(4, 4, 4, 4);
        column->addLayout(top);
        column->addWidget(use_.view, 1);
        ui::connectGuarded(again, &QPushButton::clicked, this, [this] { recount(); });
        ui::connectGuarded(print, &QPushButton::clicked, this, [this] {
            recount();
            preview(ingredientUseDocument(use_.rows, from_->date(), to_->date(), context_.by()), this);
        });
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        from_->setDate(context_.clock.today());
        to_->setDate(context_.clock.today());
        recount();
    }

  private:
    void recount() { use_.show(ingredientUse(context_.db, from_->date(), to_->date())); }

    QueryContext context_;
    QDateEdit* from_;
    QDateEdit* to_;
    SnapshotGrid use_;
};

} // namespace

QHash<QString, QWidget*> makeStockQueryPanels(const panels::BackOfficeContext& context) {
    QWidget* parent = context.host;
    const QueryContext q{context.db, context.clock, context.session};
    return {
        {QStringLiteral("库存帐务"), new StockAccountsPanel(q, context.workspace, parent)},
        {QStringLiteral("帐务查询"), new GoodsQueryPanel(q, context.workspace, parent)},
        {QStringLiteral("库存盘点"), new StockTakePanel(q, parent)},
        {QStringLiteral("配料使用"), new IngredientUsePanel(q, parent)},
    };
}

} // namespace sorrel::stock
