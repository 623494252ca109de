#include "common/tables/table_state_moves.h"

#include "common/db/errors.h"
#include "common/db_datetime.h"
#include "common/tables/table_refusals.h"
#include "common/tables/table_states.h"

namespace sorrel::tables {

namespace {

using namespace TableState;

struct Statement {
    QString sql;
    QVariantList params;
};

// UPDATE TableList SET tabl_stat_code = …, the columns given … WHERE tabl_code = ? AND
// tabl_stat_code IN (the move's states); every table when `code` is empty, any state when the
// move names none.
Statement moveStatement(const QString& code, const TableMoveRule& rule, const TableColumns& columns,
                        const QString& to) {
    const QString target = to.isEmpty() ? rule.to.first() : to;
    QVariantList params;
    QString state = QStringLiteral("?");
    if (rule.bookedWhenBookings) {
        state = QStringLiteral(
            "CASE WHEN EXISTS (SELECT 1 FROM bookin b WHERE b.tabl_code = TableList.tabl_code) THEN ? ELSE ? "
            "END");
        params << kBooked << target;
    } else {
        params << target;
    }
    QString others;
    const auto set = [&](const char* column, const QVariant& value) {
        others += QStringLiteral(", ") + QLatin1String(column) + QStringLiteral(" = ?");
        params << value;
    };
    if (columns.bill) set("tabl_gues_auto_recn", *columns.bill);
    if (columns.guestName) set("tabl_gues_name", *columns.guestName);
    if (columns.guestCount) set("tabl_gues_coun", *columns.guestCount);
    if (columns.guestTime)
        set("tabl_gues_time",
            columns.guestTime->isValid() ? QVariant(toDbDateTime(*columns.guestTime)) : QVariant());
    if (columns.receivable) set("tabl_gues_shou", *columns.receivable);
    QStringList conditions;
    if (!code.isEmpty()) {
        conditions << QStringLiteral("tabl_code = ?");
        params << code;
    }
    if (!rule.from.isEmpty()) {
        conditions << QStringLiteral("tabl_stat_code IN (%1)")
                          .arg(QStringList(rule.from.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        for (const QString& from : rule.from)
            params << from;
    }
    return {QStringLiteral("UPDATE TableList SET tabl_stat_code = %1%2%3")
                .arg(state, others,
                     conditions.isEmpty() ? QString()
                                          : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "))),
            params};
}

void checkTarget(const TableMoveRule& rule, const QString& to) {
    if (!to.isEmpty() && !rule.to.contains(to))
        throw DbError(QStringLiteral("a table cannot be moved to state %1 by this step").arg(to));
}

} // namespace

const QList<TableMoveRule>& tableMoveRules() {
    static const QList<TableMoveRule> rules{
        {TableMove::Open, {kFree, kBooked}, {kInUse}},
        {TableMove::CancelRegistration, {kBooked}, {kFree}, true},
        {TableMove::Disable, {kFree}, {kDisabled}},
        {TableMove::Enable, {kDisabled}, {kFree}},
        {TableMove::Book, {kFree, kBooked}, {kFree}, true},
        {TableMove::Settle, {kInUse, kReopened}, {kSettled}},
        {TableMove::Clear, {kSettled}, {kFree}, true},
        {TableMove::Resume, {kSettled}, {kReopened}},
        {TableMove::ReverseSettle, {kFree}, {kReopened}},
        {TableMove::TransferAway, {kInUse, kReopened}, {kFree}},
        {TableMove::TransferIn, {kFree}, {kInUse, kReopened}},
        {TableMove::MergeAway, {kInUse, kReopened}, {kFree}},
        {TableMove::ResetVenue, {}, {kFree}},
    };
    return rules;
}

const TableMoveRule& tableMoveRule(TableMove move) {
    return tableMoveRules().at(int(move));
}

bool moveAllowed(TableMove move, const QString& state, const QString& to) {
    const TableMoveRule& rule = tableMoveRule(move);
    return (rule.from.isEmpty() || rule.from.contains(state)) && (to.isEmpty() || rule.to.contains(to));
}

TableColumns TableColumns::vacated() {
    return {0, QString(), 0, QDateTime(), 0.0};
}

bool moveTableIfAllowed(Database& db, const QString& code, TableMove move, const TableColumns& columns,
                        const QString& to) {
    const TableMoveRule& rule = tableMoveRule(move);
    checkTarget(rule, to);
    const Statement s = moveStatement(code, rule, columns, to);
    return db.exec(s.sql, s.params) == 1;
}

void moveTable(Database& db, const QString& code, TableMove move, const TableColumns& columns,
               const QString& to) {
    if (!moveTableIfAllowed(db, code, move, columns, to))
        throw TableChangedElsewhere(code);
}

void moveHeldTable(Database& db, const QString& code, const QString& held, TableMove move,
                   const TableColumns& columns, const QString& to) {
    const TableMoveRule& rule = tableMoveRule(move);
    checkTarget(rule, to);
    if (!moveAllowed(move, held)) throw TableChangedElsewhere(code);
    // Read under the caller's lock: the guard in the statement cannot fail, and its count need
    // not be waited for.
    const Statement s = moveStatement(code, rule, columns, to);
    db.execLater(s.sql, s.params);
}

void moveEveryTable(Database& db, TableMove move, const TableColumns& columns) {
    const Statement s = moveStatement(QString(), tableMoveRule(move), columns, QString());
    db.exec(s.sql, s.params);
}

} // namespace sorrel::tables
