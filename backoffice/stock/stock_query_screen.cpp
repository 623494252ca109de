// The inventory's query panels: stock accounts, goods query, stock take (with the counts, the
// low-stock list and the printed sheet and menu) and ingredient use.
#include "backoffice/stock/stock_documents.h"
#include "backoffice/stock/stock_grids.h"
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

// How the grid shows a field's figure.
std::function<QString(const QVariant&)> shownAs(exporting::CellKind kind) {
    switch (kind) {
    case exporting::CellKind::Money:
        return ui::amountText;
    case exporting::CellKind::Quantity:
        return number;
    case exporting::CellKind::Date:
        return dayText;
    case exporting::CellKind::DateTime:
        return momentText;
    default:
        return {};
    }
}

// One snapshot shown in a grid of its own, re-read when asked; its columns are the fields that
// also go out to the files and the paper.
struct SnapshotGrid {
    RecordSet rows;
    QVector<GridField> fields;
    ui::RecordSetModel* model = nullptr;
    QTableView* view = nullptr;

    // `widths` one per field (0: the view decides); `lookUps` show a field by another text than the
    // files carry (a staff's name for the code); `extra` columns are shown only, not exported.
    using Format = std::function<QString(const QVariant&)>;
    void make(const QString& objectName, QVector<GridField> shown, const QList<int>& widths, QWidget* parent,
              const QHash<QString, Format>& lookUps = {}, const QList<GridColumn>& extra = {}) {
        fields = std::move(shown);
        QList<GridColumn> columns;
        for (int i = 0; i < fields.size(); ++i)
            columns.append({fields[i].caption, fields[i].field,
                            lookUps.value(fields[i].field, shownAs(fields[i].kind)), widths.value(i)});
        model = new ui::RecordSetModel(rows, columns + extra, parent);
        view = ui::mainGrid(objectName, model, parent);
    }
    void show(RecordSet fresh) {
        rows = std::move(fresh);
        model->refresh();
        if (!rows.isEmpty()) view->selectRow(0);
    }
    exporting::Sheet sheet(const QString& name) const { return exporting::recordSetSheet(name, fields, rows); }
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

QString period(const QDate& from, const QDate& to) {
    return from.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 至 ") +
           to.toString(QStringLiteral("yyyy-MM-dd"));
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

// What a grid's exports take away: its name (the worksheet's, the printed list's title and the
// file's), its rows as shown, and the lines saying what it holds.
struct GridExport {
    std::function<QString()> name;
    std::function<exporting::Sheet()> sheet;
    std::function<QStringList()> about = [] { return QStringList(); };
};

// "导出CSV", "导出Excel", "导出PDF" of a grid, as the report screens have them, added to `row`
// at `at` (-1: at its end).
void addExportButtons(QHBoxLayout* row, int at, QWidget* panel, const QueryContext& context,
                      const GridExport& grid) {
    QPushButton* csv = button(QStringLiteral("导出CSV"), QStringLiteral("btn_ExportCsv"), panel);
    QPushButton* excel = button(QStringLiteral("导出Excel"), QStringLiteral("btn_ExportExcel"), panel);
    QPushButton* pdf = button(QStringLiteral("导出PDF"), QStringLiteral("btn_ExportPdf"), panel);
    ui::connectGuarded(csv, &QPushButton::clicked, panel,
                       [panel, grid] { ui::exportCsv(panel, grid.name(), [grid] { return grid.sheet(); }); });
    ui::connectGuarded(excel, &QPushButton::clicked, panel, [panel, grid] {
        ui::exportExcel(panel, grid.name(), [grid] { return QVector<exporting::Sheet>{grid.sheet()}; });
    });
    ui::connectGuarded(pdf, &QPushButton::clicked, panel, [panel, context, grid] {
        ui::exportPdf(panel, grid.name(),
                      [context, grid] { return sheetDocument(grid.sheet(), grid.about(), context.by()); });
    });
    for (QPushButton* b : {csv, excel, pdf}) {
        row->insertWidget(at, b);
        if (at >= 0) ++at;
    }
}

// A row of its own for a grid's exports, at its right, so the filters above keep their room.
QHBoxLayout* exportRow(QWidget* panel, const QueryContext& context, const GridExport& grid) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    addExportButtons(row, -1, panel, context, grid);
    return row;
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
        bills_.make(QStringLiteral("grd_posted_bills"), postedBillFields(),
                    {70, 50, 70, 50, 60, 60, 60, 60, 60}, this,
                    {{QStringLiteral("oper_code"),
                      [this](const QVariant& v) { return lists::nameOf(operators_, v.toString()); }}});
        QHBoxLayout* exports = exportRow(this, context_,
                                         {[] { return QStringLiteral("库存帐务"); },
                                          [this] { return bills_.sheet(QStringLiteral("库存帐务")); },
                                          [this] { return about(); }});
        lines_.make(QStringLiteral("grd_posted_lines"), postedLineFields(), {50, 110, 40, 60, 50, 60}, this);
        auto* linesRow = new QHBoxLayout;
        linesRow->addWidget(new QLabel(QStringLiteral("明细列表"), this));
        linesRow->addStretch();
        addExportButtons(linesRow, -1, this, context_,
                         {[] { return QStringLiteral("库存帐务明细"); },
                          [this] { return lines_.sheet(QStringLiteral("库存帐务明细")); },
                          [this] { return billAbout(); }});
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(4, 4, 4, 4);
        column->addLayout(top);
        column->addLayout(exports);
        column->addWidget(bills_.view, 3);
        column->addLayout(linesRow);
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
        shownFrom_ = from_->date();
        shownTo_ = to_->date();
        shownPartner_ = partner_->currentText();
        bills_.show(postedBills(context_.db, partner_->currentData().toString(), shownFrom_, shownTo_));
        showLines();
    }
    void showLines() {
        const int r = bills_.selected();
        lines_.show(postedLines(context_.db, r < 0 ? QVariant() : bills_.rows.value(r, "stor_bill_ID")));
    }
    // The partner and the dates the bills were read for, not what the boxes hold since.
    QStringList about() const {
        return {QStringLiteral("往来单位：") + shownPartner_,
                QStringLiteral("日期：") + period(shownFrom_, shownTo_)};
    }
    QStringList billAbout() const {
        const int r = bills_.selected();
        if (r < 0) return about();
        return {QStringLiteral("往来单位：") + bills_.rows.text(r, "work_name_s"),
                QStringLiteral("单据编号：") + bills_.rows.text(r, "stor_bill_code") + QStringLiteral(" ") +
                    bills_.rows.text(r, "stor_bill_type")};
    }

    QueryContext context_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* partner_;
    lists::Choices operators_;
    SnapshotGrid bills_, lines_;
    QDate shownFrom_, shownTo_;
    QString shownPartner_;
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
        code_->setFixedWidth(code_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
        auto* top = new QHBoxLayout;
        top->addWidget(new QLabel(QStringLiteral("开始时间："), this));
        top->addWidget(from_);
        top->addWidget(new QLabel(QStringLiteral("结束时间："), this));
        top->addWidget(to_);
        top->addWidget(new QLabel(QStringLiteral("货物代码："), this));
        top->addWidget(code_);
        top->addStretch();
        lines_.make(QStringLiteral("grd_goods"), goodsFields(), {75, 50, 60, 55, 80, 35, 50, 45, 55, 50},
                    this);
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(4, 4, 4, 4);
        column->addLayout(top);
        column->addLayout(exportRow(this, context_,
                                    {[] { return QStringLiteral("帐务查询"); },
                                     [this] { return lines_.sheet(QStringLiteral("帐务查询")); },
                                     [this] { return about_; }}));
        column->addWidget(lines_.view, 1);
        workspace.setQuery(QStringLiteral("帐务查询"), [this] {
            const QString code = code_->text();
            lines_.show(goodsLines(context_.db, code, DateRange{from_->date(), to_->date()}));
            about_ = {QStringLiteral("日期：") + period(from_->date(), to_->date())};
            if (!code.trimmed().isEmpty()) about_ << QStringLiteral("货物代码：") + code;
        });
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        from_->setDate(context_.clock.today());
        to_->setDate(context_.clock.today());
        lines_.show(goodsLines(context_.db, QString(), std::nullopt));
        about_ = {QStringLiteral("日期：全部")};
    }

  private:
    QueryContext context_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLineEdit* code_;
    SnapshotGrid lines_;
    // What the lines shown were read for.
    QStringList about_;
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
        items_.make(QStringLiteral("grd_stock_take"), stockTakeFields(), {50, 110, 40, 50, 40, 50, 50, 45},
                    this, {}, {{QStringLiteral("实盘"), "item_code", [this](const QVariant& code) {
                                    const auto it = counts_.constFind(code.toString());
                                    return it == counts_.constEnd() ? QString() : plainNumberText(*it);
                                }}});
        // Below the buttons of the count, for what the grid holds now: the counted items or the
        // low-stock list.
        addExportButtons(countRow, -1, this, context_,
                         {[this] { return listName(); }, [this] { return items_.sheet(listName()); },
                          [this] { return about(); }});
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
        shownKind_ = kind().isEmpty() ? QString() : kind_->currentText();
        items_.show(stockTake(context_.db, StockTakeRows::Counted, kind()));
        showCount();
    }
    void lowStockItems() {
        counts_.clear();
        countable_ = false;
        shownKind_.clear();
        items_.show(lowStock(context_.db));
        showCount();
    }
    QString listName() const { return countable_ ? QStringLiteral("库存盘点") : QStringLiteral("库存预警"); }
    QStringList about() const {
        if (!countable_) return {QStringLiteral("预警数量：") + plainNumberText(lowStockMark(context_.db))};
        return {QStringLiteral("大类：") + (shownKind_.isEmpty() ? QStringLiteral("全部") : shownKind_)};
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
    // The kind the counted items were read for; empty: every kind.
    QString shownKind_;
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
        use_.make(QStringLiteral("grd_ingredient_use"), ingredientUseFields(), {150, 60}, this);
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(4, 4, 4, 4);
        column->addLayout(top);
        column->addLayout(exportRow(
            this, context_,
            {[] { return QStringLiteral("配料使用"); },
             [this] { return use_.sheet(QStringLiteral("配料使用")); },
             [this] { return QStringList{QStringLiteral("统计时间：") + period(shownFrom_, shownTo_)}; }}));
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
    void recount() {
        shownFrom_ = from_->date();
        shownTo_ = to_->date();
        use_.show(ingredientUse(context_.db, shownFrom_, shownTo_));
    }

    QueryContext context_;
    QDateEdit* from_;
    QDateEdit* to_;
    SnapshotGrid use_;
    QDate shownFrom_, shownTo_;
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
