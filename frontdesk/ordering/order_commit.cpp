#include "frontdesk/ordering/order_commit.h"

#include "common/db/errors.h"
#include "common/db/row_batch.h"
#include "common/db/transaction.h"
#include "common/made_items_stock.h"
#include "common/money.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/line_sums.h"
#include "frontdesk/ordering/order_menu.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/tables/table_state.h"

#include <QHash>
#include <QMap>

namespace sorrel::ordering {

namespace {

// The bill as it stands, refused unless its table is still open with it.
billing::GuestRecord openBill(Database& db, int billNumber, const QString& typedAt) {
    std::optional<billing::GuestRecord> guest = billing::GuestRecord::load(db, billNumber);
    if (!guest) {
        // Merged into another table's bill, or gone with day end: the table it was typed at, or
        // that its staged lines name.
        const QString table =
            !typedAt.isEmpty()
                ? typedAt
                : db.scalar(QStringLiteral(
                                "SELECT MIN(tabl_code) FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?"),
                            {billNumber})
                      .toString();
        throw tables::TableChangedElsewhere(table);
    }
    const QString state = db.scalar(QStringLiteral("SELECT tabl_stat_code FROM TableList WHERE tabl_code = ? "
                                                   "AND tabl_gues_auto_recn = ?") +
                                        db.lockRowsClause(),
                                    {guest->tabl_code, billNumber})
                              .toString();
    if (state != tables::TableState::kInUse && state != tables::TableState::kReopened)
        throw tables::TableChangedElsewhere(guest->tabl_code);
    return *guest;
}

// The columns the staged lines are read with beyond their own: the names of their operator and
// commission staff and whether their kind takes service, as those lists hold them now.
const QString kOperatorName = QStringLiteral("known_oper_name");
const QString kStaffName = QStringLiteral("known_dedu_oper_name");
const QString kServed = QStringLiteral("known_clas_served");

RecordSet readStagedLines(Database& db, int billNumber) {
    return db.query(
        QStringLiteral("SELECT t.*, "
                       "(SELECT o.oper_name FROM operatorlist o WHERE o.oper_code = t.oper_code) AS %1, "
                       "(SELECT d.dedu_oper_name FROM deduoperatorlist d "
                       "WHERE d.dedu_oper_code = t.dedu_oper_code) AS %2, "
                       "(SELECT COUNT(*) FROM classlist c WHERE c.clas_code = t.clas_code "
                       "AND c.clas_allo_serv = 1) AS %3 "
                       "FROM TableConsListTemp t WHERE t.tabl_gues_auto_recn = ? ORDER BY t.tabl_cons_ID")
            .arg(kOperatorName, kStaffName, kServed),
        {billNumber});
}

// The staged lines priced, named, their set meals' components multiplied out and their service
// marked, as they go onto the bill. The staging rows themselves stay as typed, so a commit that
// fails can be tried again from the same lines.
void priceLines(RecordSet& lines, const billing::GuestRecord& guest, const QString& lineRounding,
                const QDateTime& now) {
    QHash<QString, std::pair<double, int>> setMeals; // quantity and stock sign, by set meal
    for (int r = 0; r < lines.rowCount(); ++r)
        if (lines.text(r, "item_type_code") == kSetMeal && lines.text(r, "grou_code").isEmpty())
            setMeals.insert(lines.text(r, "item_code"),
                            {lines.number(r, "tabl_cons_coun"), int(lines.integer(r, "item_coun_flag"))});

    for (int r = 0; r < lines.rowCount(); ++r) {
        const QString setMeal = lines.text(r, "grou_code");
        if (!setMeal.isEmpty() && setMeals.contains(setMeal)) {
            const auto [sets, stockSign] = setMeals.value(setMeal);
            lines.setValue(r, "tabl_cons_coun", lines.number(r, "tabl_cons_coun") * sets);
            lines.setValue(r, "item_coun_flag", stockSign);
        }
        const double q = lines.number(r, "tabl_cons_coun");
        const int f = int(lines.integer(r, "item_type_flag"));
        lines.setValue(r, "tabl_cons_tota",
                       orderLineAmount(q, lines.number(r, "item_unit_pric"), f, lineRounding));
        lines.setValue(r, "tabl_dedu_tota", q * lines.number(r, "item_dedu_pric") * f);
        lines.setValue(r, "tabl_cost_tota", q * lines.number(r, "item_cost_pric") * f);
        // Bound as moments: a bill without a business date stores none.
        lines.setValue(r, "tabl_cons_time", now);
        lines.setValue(r, "tabl_cons_time_work", guest.tabl_gues_time_work);
        lines.setValue(r, "oper_name", lines.text(r, kOperatorName));
        lines.setValue(r, "dedu_oper_name", lines.text(r, kStaffName));
        const bool served = guest.cons_mode_serv > 0 && setMeal.isEmpty() && lines.integer(r, kServed) > 0;
        lines.setValue(r, "serv_perc", served ? guest.cons_mode_serv : 100);
    }
}

// Item codes a statement names at once: each takes a value or three, and the file engine binds
// at most 999 values in one statement.
constexpr int kItemsPerStatement = 300;

QString placeholders(qsizetype count) {
    return QStringList(count, QStringLiteral("?")).join(QStringLiteral(", "));
}

// One relative update of many items' stock: "item_coun - CASE item_code WHEN ? THEN ? ... END".
void takeFromStock(Database& db, const QList<std::pair<QString, double>>& amounts, const QString& condition) {
    for (qsizetype from = 0; from < amounts.size(); from += kItemsPerStatement) {
        const QList<std::pair<QString, double>> chunk = amounts.mid(from, kItemsPerStatement);
        QString cases;
        QVariantList params;
        for (const auto& [code, amount] : chunk) {
            cases += QStringLiteral(" WHEN ? THEN ?");
            params << code << amount;
        }
        for (const auto& entry : chunk)
            params << entry.first;
        db.execLater(QStringLiteral("UPDATE itemlist SET item_coun = item_coun - CASE item_code%1 END "
                                    "WHERE item_code IN (%2)%3")
                         .arg(cases, placeholders(chunk.size()), condition),
                     params);
    }
}

// Takes the ordered quantities out of the limited single items, refusing the whole order when
// one holds less than it asks for now; then the composites' ingredients, whatever their rule.
void takeStock(Database& db, const RecordSet& lines) {
    QMap<QString, double> taken;                 // by item, signed: a return puts stock back
    QList<std::pair<QString, double>> composite; // the composites' lines: item and signed quantity
    for (int r = 0; r < lines.rowCount(); ++r) {
        const double q = lines.number(r, "tabl_cons_coun") * double(lines.integer(r, "item_coun_flag"));
        const QString code = lines.text(r, "item_code");
        taken[code] += q;
        if (lines.text(r, "item_type_code") == kComposite) composite.append({code, q});
    }
    // Every composite's recipe, read once for all of them.
    QMultiMap<QString, std::pair<QString, double>> recipes; // ingredient and its count, by composite
    QStringList made;
    for (const auto& line : composite)
        if (!made.contains(line.first)) made << line.first;
    for (qsizetype from = 0; from < made.size(); from += kItemsPerStatement) {
        const QStringList chunk = made.mid(from, kItemsPerStatement);
        const RecordSet rows = db.query(
            QStringLiteral("SELECT grou_code, item_code, grou_coun FROM ItemGroup WHERE grou_code IN (%1)")
                .arg(placeholders(chunk.size())),
            QVariantList(chunk.cbegin(), chunk.cend()));
        // Kept in the order read: values() of a multi-map answers the latest first.
        for (int i = rows.rowCount() - 1; i >= 0; --i)
            recipes.insert(rows.text(i, "grou_code"),
                           {rows.text(i, "item_code"), rows.number(i, "grou_coun")});
    }
    QMap<QString, double> ingredients; // by ingredient
    for (const auto& [code, q] : composite)
        for (const auto& [ingredient, count] : recipes.values(code))
            ingredients[ingredient] += q * count;

    // The limited items among those ordered, locked in the order of their codes.
    QList<std::pair<QString, double>> limited;
    const QStringList codes = taken.keys();
    for (qsizetype from = 0; from < codes.size(); from += kItemsPerStatement) {
        const QStringList chunk = codes.mid(from, kItemsPerStatement);
        QVariantList params(chunk.cbegin(), chunk.cend());
        params << kLimited;
        const RecordSet items = db.query(
            QStringLiteral("SELECT item_code, item_name, item_coun FROM itemlist WHERE item_code IN (%1) "
                           "AND item_type_code = '1' AND item_limi = ? ORDER BY item_code")
                    .arg(placeholders(chunk.size())) +
                db.lockRowsClause(),
            params);
        for (int i = 0; i < items.rowCount(); ++i) {
            const QString code = items.text(i, "item_code");
            const double asked = taken.value(code);
            if (asked > 0 && compareMoney(asked, items.number(i, "item_coun")) > 0)
                throw StepRefused(overStockMessage(items.text(i, "item_name"), items.number(i, "item_coun")));
            limited.append({code, asked});
        }
    }
    takeFromStock(db, limited, QString());
    QList<std::pair<QString, double>> used;
    for (auto it = ingredients.cbegin(); it != ingredients.cend(); ++it)
        used.append({it.key(), it.value()});
    takeFromStock(db, used, QStringLiteral(" AND item_type_code IN ('1', '4')"));
    // Set meals and composites can be made as often as their components' stock allows now.
    db.execLater(kRefreshMadeItemsStock);
}

// The priced lines onto the bill, as few multi-row INSERTs as the engines take.
void insertLines(Database& db, const RecordSet& lines) {
    const QStringList skipped{QStringLiteral("tabl_cons_ID"), kOperatorName, kStaffName, kServed};
    QList<int> kept;
    QStringList columns;
    for (int c = 0; c < lines.columnCount(); ++c)
        if (!skipped.contains(lines.columns().at(c), Qt::CaseInsensitive)) {
            kept << c;
            columns << lines.columns().at(c);
        }
    RowBatch batch(db, QStringLiteral("TableConsList"), columns);
    for (int r = 0; r < lines.rowCount(); ++r) {
        QVariantList values;
        values.reserve(kept.size());
        for (int c : kept)
            values.append(lines.value(r, c));
        batch.add(values);
    }
    batch.flush();
}

} // namespace

billing::GuestRecord commitOrder(Database& db, int billNumber, const Clock& clock,
                                 const ProgressReport& progress, const QString& tableCode) {
    const auto report = [&progress](int percent) {
        if (progress) progress(percent);
    };
    billing::GuestRecord saved;
    try {
        saved = runCoded(db, kCommitOrderCode, [&] {
            billing::GuestRecord guest = openBill(db, billNumber, tableCode);
            report(10);
            const billing::BillSettings settings = billing::BillSettings::load(db);
            RecordSet lines = readStagedLines(db, billNumber);
            priceLines(lines, guest, settings.lineRounding, clock.now());
            report(30);
            insertLines(db, lines);
            report(50);
            takeStock(db, lines);
            report(70);
            // The sums and the stay together, in one write of the bill.
            billing::setLineSums(db, guest, settings);
            billing::ReTotal(db, guest, settings, clock);
            guest.post(db);
            report(90);
            db.execLater(QStringLiteral("DELETE FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?"),
                         {billNumber});
            return guest;
        });
    } catch (const StepRefused&) {
        // A bill no longer open (merged away, settled, cleared or gone with day end) never takes
        // these lines: they go, rather than stay staged for a bill no desk can order for again.
        db.exec(QStringLiteral("DELETE FROM TableConsListTemp WHERE tabl_gues_auto_recn = ? AND NOT EXISTS "
                               "(SELECT 1 FROM TableGuestlist g WHERE g.tabl_gues_auto_recn = ? AND "
                               "g.tabl_gues_use = 1 AND g.tabl_gues_stat = ?)"),
                {billNumber, billNumber, tables::TableState::kInUse});
        throw;
    }
    report(100);
    return saved;
}

} // namespace sorrel::ordering
