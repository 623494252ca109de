#include "backoffice/lists/maintenance_list.h"

#include "common/db/transaction.h"
#include "common/messages.h"
#include "common/schema/schema.h"
#include "common/typed_input.h"

namespace sorrel::lists {

MaintenanceList::MaintenanceList(Database& db, ListDefinition definition, QObject* parent)
    : QObject(parent), db_(db), def_(std::move(definition)) {
    if (def_.orderBy.isEmpty()) def_.orderBy = def_.key;
}

void MaintenanceList::follow(MaintenanceList& master) {
    master_ = &master;
    master.details_.append(this);
    masterValue_ = master.currentKey();
    connect(&master, &MaintenanceList::currentChanged, this, &MaintenanceList::masterMoved);
}

void MaintenanceList::masterMoved() {
    const QVariant key = master_->currentKey();
    // The same master record (saved, or shown again): the list keeps its rows and its place.
    if (loaded_ && key.isNull() == masterValue_.isNull() && key.toString() == masterValue_.toString()) return;
    masterValue_ = key;
    reload();
}

bool MaintenanceList::detailsSaved() {
    for (MaintenanceList* detail : details_)
        if (!detail->detailsSaved() || !detail->saveIfPending()) return false;
    return true;
}

void MaintenanceList::readRows() {
    QStringList where;
    QVariantList params;
    if (!def_.masterColumn.isEmpty()) {
        // No master record: nothing is listed, whatever the table holds (and no blank is bound to
        // a number column, which the server refuses).
        if (masterValue_.isNull()) {
            where << QStringLiteral("1 = 0");
        } else {
            where << def_.masterColumn + QStringLiteral(" = ?");
            params << masterValue_;
        }
    }
    if (!def_.fixedCondition.isEmpty())
        where << QStringLiteral("(") + def_.fixedCondition + QStringLiteral(")");
    QString sql = QStringLiteral("SELECT * FROM ") + def_.table;
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + def_.orderBy;
    rows_ = db_.query(sql, params);
    loaded_ = true;
}

void MaintenanceList::reload() {
    const QVariant keep = state_ == State::Inserting ? QVariant() : currentKey();
    readRows();
    state_ = State::Browsing;
    int row = keep.isNull() ? -1 : rows_.locate({{def_.key, keep}});
    if (row < 0) row = rows_.isEmpty() ? -1 : 0;
    rowsChanged(row);
}

void MaintenanceList::rowsChanged(int newCurrent) {
    // Nothing is current while the views catch up with the rows.
    current_ = -1;
    original_.clear();
    emit rowsReset();
    setCurrent(newCurrent);
}

void MaintenanceList::setCurrent(int row) {
    current_ = row;
    original_.clear();
    if (row >= 0)
        for (int c = 0; c < rows_.columnCount(); ++c)
            original_ << rows_.value(row, c);
    emit currentChanged(row);
}

QVariant MaintenanceList::value(const QString& column) const {
    if (current_ < 0) return {};
    return rows_.value(current_, column);
}

QVariant MaintenanceList::storedValue(const QString& column) const {
    const int c = rows_.columnIndex(column);
    return c >= 0 && c < original_.size() ? original_[c] : QVariant();
}

EditedRecord MaintenanceList::record() const {
    return EditedRecord(rows_, current_, original_, state_ == State::Inserting);
}

bool MaintenanceList::moveTo(int row) {
    if (row < 0 || row >= rowCount()) return false;
    if (row == current_) return true;
    if (!detailsSaved() || !saveIfPending()) return false;
    if (row >= rowCount()) row = rowCount() - 1; // the save may have re-read the list
    setCurrent(row);
    return true;
}

bool MaintenanceList::moveToKey(const QVariant& key) {
    return moveTo(rows_.locate({{def_.key, key}}));
}

namespace {

// What a number column holds by its type: a whole number what the engines store in it, an
// amount or quantity no more than the venue's money.
NumberRange columnRange(const schema::Column& c) {
    switch (c.type) {
    case schema::ColumnType::SmallInt:
        return {-32768.0, 32767.0};
    case schema::ColumnType::Integer:
    case schema::ColumnType::AutoNumber:
        return {-2147483648.0, 2147483647.0};
    default:
        return kAmountRange;
    }
}

} // namespace

QVariant MaintenanceList::typed(const QString& column, const QVariant& value) const {
    const schema::Table* table = schema::findTable(def_.table);
    const schema::Column* c = table ? table->column(column) : nullptr;
    if (!c || value.isNull()) return value;
    switch (c->type) {
    case schema::ColumnType::Text: {
        // Text as a keyboard types it, whoever set it: no control characters, no half characters.
        // No more than the column holds: the server would refuse a longer text outright. A column
        // stored without blanks around it loses them before it is cut, so " 07" keeps both digits;
        // the cut counts characters and never falls inside one.
        QString text = plainTypedText(value.toString());
        if (c->size <= 0 || text.size() <= c->size) return text;
        if (def_.trimmed.contains(column, Qt::CaseInsensitive)) text = text.trimmed();
        const QList<uint> characters = text.toUcs4();
        if (characters.size() <= c->size) return text;
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), c->size);
    }
    case schema::ColumnType::YesNo:
        return value.toBool() ? 1 : 0;
    case schema::ColumnType::SmallInt:
    case schema::ColumnType::Integer:
    case schema::ColumnType::AutoNumber:
    case schema::ColumnType::Float:
    case schema::ColumnType::Decimal: {
        // Typed or set by a step, a number beyond what the column holds is mistyped, never cut
        // down to another value or stored as what the engine makes of it.
        const NumberRange range = def_.ranges.value(column.toLower(), columnRange(*c));
        double number = 0;
        if (value.userType() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty()) return {};
            number = parseTypedNumber(text, range);
        } else {
            bool isNumber = false;
            number = value.toDouble(&isNumber);
            if (!isNumber) return value;
            checkedNumber(number, range);
        }
        if (c->type == schema::ColumnType::Float || c->type == schema::ColumnType::Decimal) return number;
        return qlonglong(number);
    }
    case schema::ColumnType::DateTime:
        return value;
    }
    return value;
}

void MaintenanceList::assign(const QString& column, const QVariant& value) {
    if (current_ < 0) return;
    rows_.setValue(current_, column, typed(column, value));
    if (state_ == State::Browsing) state_ = State::Editing;
    emit recordChanged(current_);
}

bool MaintenanceList::edit(const QString& column, const QVariant& value) {
    if (current_ < 0) return false;
    const QVariant stored = typed(column, value);
    if (state_ != State::Inserting) {
        const QVariant before = original_.value(rows_.columnIndex(column));
        const bool differs = stored.isNull() != before.isNull() || stored.toString() != before.toString();
        if (differs)
            if (const auto refusal = guardRefusal(false, column)) {
                tell(*refusal);
                cancel();
                return false;
            }
    }
    assign(column, stored);
    if (def_.afterEdit) def_.afterEdit(*this, column);
    return true;
}

bool MaintenanceList::append() {
    if (master_ && masterValue_.isNull()) return false;
    if (rows_.columns().isEmpty()) readRows();
    QVariantMap defaults = def_.defaults;
    if (def_.computedDefaults) def_.computedDefaults(defaults);
    if (master_) defaults.insert(def_.masterColumn, masterValue_);
    QVariantList values;
    values.resize(rows_.columnCount());
    for (auto it = defaults.begin(); it != defaults.end(); ++it) {
        const int c = rows_.columnIndex(it.key());
        if (c >= 0) values[c] = typed(it.key(), it.value());
    }
    rows_.appendRow(values);
    state_ = State::Inserting;
    rowsChanged(rowCount() - 1);
    return true;
}

void MaintenanceList::cancel() {
    if (current_ < 0 || state_ == State::Browsing) return;
    if (state_ == State::Inserting) {
        rows_.removeRow(current_);
        state_ = State::Browsing;
        rowsChanged(rows_.isEmpty() ? -1 : qMin(current_, rowCount() - 1));
        return;
    }
    for (int c = 0; c < original_.size(); ++c)
        rows_.setValue(current_, rows_.columns()[c], original_[c]);
    state_ = State::Browsing;
    emit recordChanged(current_);
}

std::optional<Refusal> MaintenanceList::firstRefusal(const QList<Check>& checks) {
    const EditedRecord r = record();
    for (const Check& check : checks)
        if (auto refusal = check(db_, r)) return refusal;
    return std::nullopt;
}

std::optional<Refusal> MaintenanceList::guardRefusal(bool onlyChanged, const QString& column) {
    const EditedRecord r = record();
    if (r.isNew()) return std::nullopt;
    for (const CodeGuard& guard : def_.guards) {
        if (!column.isEmpty() && guard.column.compare(column, Qt::CaseInsensitive) != 0) continue;
        if (onlyChanged && !r.changed(guard.column)) continue;
        if (auto refusal = guard.check(db_, r)) return refusal;
    }
    return std::nullopt;
}

void MaintenanceList::tell(const Refusal& refusal) const {
    messages::information(refusal.message, refusal.title);
}

MaintenanceList::SaveOutcome::Kind MaintenanceList::post() {
    const EditedRecord r = record();
    const bool isNew = r.isNew();
    const QVariant key = r.value(def_.key);
    if (!def_.duplicateMessage.isEmpty() && !def_.keyIsAutoNumber && (isNew || r.changed(def_.key)) &&
        recordSearch(db_, def_.table, def_.key, key))
        return SaveOutcome::Duplicate;

    if (isNew) {
        // A new record is written with what it holds: its defaults and what the manager typed.
        QStringList columns;
        QVariantList values;
        for (int c = 0; c < rows_.columnCount(); ++c) {
            const QString& column = rows_.columns()[c];
            if (r.value(column).isNull() ||
                (def_.keyIsAutoNumber && column.compare(def_.key, Qt::CaseInsensitive) == 0))
                continue;
            columns << column;
            values << r.value(column);
        }
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        db_.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(def_.table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                 values);
        if (def_.keyIsAutoNumber) {
            // The newest number: ours, since the write lock is held until commit.
            rows_.setValue(current_, def_.key,
                           db_.scalar(QStringLiteral("SELECT max(%1) FROM %2").arg(def_.key, def_.table)));
        }
        if (def_.alsoSave) def_.alsoSave(db_, r);
        return SaveOutcome::Saved;
    }

    QStringList changed;
    for (const QString& c : def_.edited)
        if (r.changed(c)) changed << c;
    const QVariant storedKey = r.original(def_.key);
    // The record as it stands now, read under the write lock: it must still be there, and no one
    // else may have changed what we are about to change.
    const QStringList read = changed.isEmpty() ? QStringList{def_.key} : changed;
    const RecordSet now = db_.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                            .arg(read.join(QStringLiteral(", ")), def_.table, def_.key) +
                                        db_.lockRowsClause(),
                                    {storedKey});
    if (now.isEmpty()) return SaveOutcome::Gone;
    QVariantMap asRead;
    for (const QString& c : changed)
        asRead.insert(c, r.original(c));
    if (!changed.isEmpty() && now.locate(asRead) != 0) return SaveOutcome::ChangedElsewhere;
    if (changed.isEmpty()) return SaveOutcome::Saved;

    QStringList sets;
    QVariantList values;
    for (const QString& c : changed) {
        sets << c + QStringLiteral(" = ?");
        values << r.value(c);
    }
    values << storedKey;
    db_.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                 .arg(def_.table, sets.join(QStringLiteral(", ")), def_.key),
             values);
    if (def_.alsoSave) def_.alsoSave(db_, r);
    return SaveOutcome::Saved;
}

MaintenanceList::SaveOutcome MaintenanceList::postPending() {
    if (current_ < 0 || state_ == State::Browsing) return {};
    for (const QString& column : def_.trimmed) {
        const QVariant v = rows_.value(current_, column);
        if (!v.isNull() && v.toString() != v.toString().trimmed())
            rows_.setValue(current_, column, v.toString().trimmed());
    }
    std::optional<Refusal> refusal = firstRefusal(def_.saveChecks);
    if (!refusal) refusal = guardRefusal(true);
    if (refusal) return {SaveOutcome::Refused, *refusal};
    return {post(), {}};
}

template <typename Step> void MaintenanceList::coded(Step&& step) {
    if (def_.failureCode.isEmpty()) {
        step();
        return;
    }
    try {
        step();
    } catch (const CodedFailure&) {
        throw;
    } catch (const StepRefused&) {
        throw;
    } catch (const std::exception& e) {
        throw CodedFailure(def_.failureCode, QString::fromStdString(e.what()));
    }
}

bool MaintenanceList::settle(const SaveOutcome& outcome) {
    switch (outcome.kind) {
    case SaveOutcome::Refused:
        tell(outcome.refusal);
        return false;
    case SaveOutcome::Duplicate:
        messages::information(def_.duplicateMessage);
        return false;
    case SaveOutcome::Gone:
        messages::information(kRecordGoneMessage);
        reload();
        return false;
    case SaveOutcome::ChangedElsewhere:
        messages::information(kRecordChangedMessage);
        reload();
        return false;
    case SaveOutcome::Saved:
        break;
    }
    if (current_ >= 0 && state_ != State::Browsing) refreshCurrentFrom(rows_.value(current_, def_.key));
    return true;
}

bool MaintenanceList::save() {
    if (current_ < 0) return true;
    if (state_ == State::Browsing) {
        // Saving an unchanged record still runs its checks: a record that was never complete
        // must not be passed over.
        if (const auto refusal = firstRefusal(def_.saveChecks)) {
            tell(*refusal);
            return false;
        }
        return true;
    }
    SaveOutcome outcome;
    coded([&] {
        Transaction tx(db_);
        outcome = postPending();
        if (outcome.kind == SaveOutcome::Saved) tx.commit();
    });
    return settle(outcome);
}

void MaintenanceList::refreshCurrentFrom(const QVariant& key) {
    const RecordSet fresh =
        db_.query(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(def_.table, def_.key), {key});
    state_ = State::Browsing;
    if (fresh.isEmpty()) {
        reload();
        return;
    }
    for (int c = 0; c < fresh.columnCount(); ++c)
        rows_.setValue(current_, fresh.columns()[c], fresh.value(0, c));
    setCurrent(current_);
    emit recordChanged(current_);
}

bool MaintenanceList::remove() {
    if (current_ < 0) return false;
    if (state_ == State::Inserting) {
        cancel();
        return true;
    }
    cancel();
    std::optional<Refusal> refusal;
    bool gone = false;
    coded([&] {
        Transaction tx(db_);
        refusal = firstRefusal(def_.deleteChecks);
        if (!refusal) {
            gone = db_.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(def_.table, def_.key),
                            {currentKey()}) == 0;
            if (!gone) {
                if (def_.alsoDelete) def_.alsoDelete(db_, record());
                tx.commit();
            }
        }
    });
    if (refusal) {
        tell(*refusal);
        return false;
    }
    if (gone) {
        messages::information(kRecordGoneMessage);
        reload();
        return false;
    }
    rows_.removeRow(current_);
    rowsChanged(rows_.isEmpty() ? -1 : qMin(current_, rowCount() - 1));
    return true;
}

} // namespace sorrel::lists
