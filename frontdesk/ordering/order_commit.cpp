#include "frontdesk/ordering/order_commit.h"

#include "common/db/code_names.h"
#include "common/db/errors.h"
#include "common/db/insert_statement.h"
#include "common/db/transaction.h"
#include "common/money.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/line_sums.h"
#include "frontdesk/ordering/order_menu.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/tables/table_refusals.h"
#include "frontdesk/tables/table_state.h"

#include <QHash>
#include <QMap>
#include <QSet>

namespace sorrel::ordering {

namespace {

// The bill as it stands, refused unless its table is still open with it.
billing::GuestRecord openBill(Database& db, int billNumber) {
    std::optional<billing::GuestRecord> guest = billing::GuestRecord::load(db, billNumber);
    if (!guest) throw StepRefused(tables::tableChangedElsewhereMessage(QString()));
    const QString state = db.scalar(QStringLiteral("SELECT tabl_stat_code FROM TableList WHERE tabl_code = ? "
                                                   "AND tabl_gues_auto_recn = ?") +
                                        db.lockRowsClause(),
                                    {guest->tabl_code, billNumber})
                              .toString();
    if (state != tables::TableState::kInUse && state != tables::TableState::kReopened)
        throw StepRefused(tables::tableChangedElsewhereMessage(guest->tabl_code));
    return *guest;
}

// The staged lines priced, named, their set meals' components multiplied out and their service
// marked, as they go onto the bill. The staging rows themselves stay as typed, so a commit that
// fails can be tried again from the same lines.
void priceLines(Database& db, RecordSet& lines, const billing::GuestRecord& guest,
                const QString& lineRounding, const QDateTime& now) {
    QHash<QString, std::pair<double, int>> setMeals; // quantity and stock sign, by set meal
    for (int r = 0; r < lines.rowCount(); ++r)
        if (lines.text(r, "item_type_code") == kSetMeal && lines.text(r, "grou_code").isEmpty())
            setMeals.insert(lines.text(r, "item_code"),
                            {lines.number(r, "tabl_cons_coun"), int(lines.integer(r, "item_coun_flag"))});
    const QHash<QString, QString> operators =
        namesByCode(db, QStringLiteral("SELECT oper_code, oper_name FROM operatorlist"));
    const QHash<QString, QString> staff =
        namesByCode(db, QStringLiteral("SELECT dedu_oper_code, dedu_oper_name FROM deduoperatorlist"));
    QSet<QString> servedClasses;
    const RecordSet classes =
        db.query(QStringLiteral("SELECT clas_code FROM classlist WHERE clas_allo_serv = 1"));
    for (int i = 0; i < classes.rowCount(); ++i)
        servedClasses.insert(classes.text(i, "clas_code"));

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
        lines.setValue(r, "oper_name", operators.value(lines.text(r, "oper_code")));
        lines.setValue(r, "dedu_oper_name", staff.value(lines.text(r, "dedu_oper_code")));
        const bool served = guest.cons_mode_serv > 0 && setMeal.isEmpty() &&
                            servedClasses.contains(lines.text(r, "clas_code"));
        lines.setValue(r, "serv_perc", served ? guest.cons_mode_serv : 100);
    }
}

// Takes the ordered quantities out of the limited single items, refusing the whole order when
// one holds less than it asks for now; then the composites' ingredients, whatever their rule.
void takeStock(Database& db, const RecordSet& lines) {
    QMap<QString, double> taken;       // by item, signed: a return puts stock back
    QMap<QString, double> ingredients; // by ingredient
    for (int r = 0; r < lines.rowCount(); ++r) {
        const double q = lines.number(r, "tabl_cons_coun") * double(lines.integer(r, "item_coun_flag"));
        const QString code = lines.text(r, "item_code");
        taken[code] += q;
        if (lines.text(r, "item_type_code") != kComposite) continue;
        const RecordSet recipe = db.query(
            QStringLiteral("SELECT item_code, grou_coun FROM ItemGroup WHERE grou_code = ?"), {code});
        for (int i = 0; i < recipe.rowCount(); ++i)
            ingredients[recipe.text(i, "item_code")] += q * recipe.number(i, "grou_coun");
    }
    for (auto it = taken.cbegin(); it != taken.cend(); ++it) {
        const RecordSet item =
            db.query(QStringLiteral("SELECT item_name, item_coun FROM itemlist WHERE item_code = ? "
                                    "AND item_type_code = '1' AND item_limi = ?") +
                         db.lockRowsClause(),
                     {it.key(), kLimited});
        if (item.isEmpty()) continue;
        if (it.value() > 0 && compareMoney(it.value(), item.number(0, "item_coun")) > 0)
            throw StepRefused(overStockMessage(item.text(0, "item_name"), item.number(0, "item_coun")));
        db.exec(QStringLiteral("UPDATE itemlist SET item_coun = item_coun - ? WHERE item_code = ?"),
                {it.value(), it.key()});
    }
    for (auto it = ingredients.cbegin(); it != ingredients.cend(); ++it)
        db.exec(QStringLiteral("UPDATE itemlist SET item_coun = item_coun - ? WHERE item_code = ? "
                               "AND item_type_code IN ('1', '4')"),
                {it.value(), it.key()});
    // Set meals and composites can be made as often as their components' stock allows now.
    db.exec(
        QStringLiteral("UPDATE itemlist SET item_coun = (SELECT v.retotal FROM viewReTotal v "
                       "WHERE v.grou_code = itemlist.item_code) "
                       "WHERE EXISTS (SELECT 1 FROM viewReTotal v WHERE v.grou_code = itemlist.item_code)"));
}

void insertLines(Database& db, const RecordSet& lines) {
    QStringList columns = lines.columns();
    const int id = lines.columnIndex(QStringLiteral("tabl_cons_ID"));
    columns.removeAt(id);
    const QString insert = insertStatement(QStringLiteral("TableConsList"), columns);
    for (int r = 0; r < lines.rowCount(); ++r) {
        QVariantList values;
        for (int c = 0; c < lines.columnCount(); ++c)
            if (c != id) values.append(lines.value(r, c));
        db.exec(insert, values);
    }
}

} // namespace

billing::GuestRecord commitOrder(Database& db, int billNumber, const Clock& clock,
                                 const ProgressReport& progress) {
    const auto report = [&progress](int percent) {
        if (progress) progress(percent);
    };
    billing::GuestRecord saved = runCoded(db, kCommitOrderCode, [&] {
        billing::GuestRecord guest = openBill(db, billNumber);
        report(10);
        const billing::BillSettings settings = billing::BillSettings::load(db);
        RecordSet lines = db.query(
            QStringLiteral(
                "SELECT * FROM TableConsListTemp WHERE tabl_gues_auto_recn = ? ORDER BY tabl_cons_ID"),
            {billNumber});
        priceLines(db, lines, guest, settings.lineRounding, clock.now());
        report(30);
        insertLines(db, lines);
        report(50);
        takeStock(db, lines);
        report(70);
        billing::setLineSums(db, guest, settings);
        guest.post(db);
        billing::ReTotal(db, guest, settings, clock);
        guest.post(db);
        report(90);
        db.exec(QStringLiteral("DELETE FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?"), {billNumber});
        return guest;
    });
    report(100);
    return saved;
}

} // namespace sorrel::ordering
