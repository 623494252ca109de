#include "backoffice/lists/list_definition.h"

namespace sorrel::lists {

bool EditedRecord::blank(const QString& column) const {
    const QVariant v = value(column);
    return v.isNull() || v.toString().trimmed().isEmpty();
}

QVariant EditedRecord::original(const QString& column) const {
    const int c = rows_.columnIndex(column);
    return c >= 0 && c < original_.size() ? original_[c] : QVariant();
}

bool EditedRecord::changed(const QString& column) const {
    if (isNew_) return false;
    const QVariant now = value(column);
    const QVariant before = original(column);
    if (now.isNull() || before.isNull()) return now.isNull() != before.isNull();
    return now.toString() != before.toString();
}

bool recordSearch(Database& db, const QString& table, const QString& column, const QVariant& value) {
    // Table and column come from the lists' declarations, never from what the manager typed.
    return db.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?").arg(table, column), {value})
               .toLongLong() > 0;
}

Reference referencedIn(const QString& table, const QString& column) {
    return [table, column](Database& db, const QVariant& value) {
        return recordSearch(db, table, column, value);
    };
}

Check requireFilled(const QStringList& columns, const QString& message, const QStringList& positive) {
    return [columns, message, positive](Database&, const EditedRecord& r) -> Verdict {
        for (const QString& c : columns)
            if (r.blank(c)) return Refusal{message, {}};
        for (const QString& c : positive)
            if (r.blank(c) || r.number(c) <= 0) return Refusal{message, {}};
        return std::nullopt;
    };
}

Check refuseChangeWhile(const QString& column, Reference reference, const QString& message,
                        const QString& title) {
    return [=](Database& db, const EditedRecord& r) -> Verdict {
        if (r.changed(column) && reference(db, r.original(column))) return Refusal{message, title};
        return std::nullopt;
    };
}

Check refuseWhile(const QString& column, Reference reference, const QString& message, const QString& title) {
    return [=](Database& db, const EditedRecord& r) -> Verdict {
        if (!r.isNew() && reference(db, r.original(column))) return Refusal{message, title};
        return std::nullopt;
    };
}

void refuseWhileReferenced(ListDefinition& d, const QString& column, const Reference& reference,
                           const QString& subject, const QString& recodeTitle) {
    d.guards.append({column, refuseWhile(column, reference, subject + QStringLiteral("，所以不能被修改！"),
                                         recodeTitle)});
    d.deleteChecks.append(refuseWhile(column, reference, subject + QStringLiteral("，所以不能被删除！")));
}

Check refusePreset(const QString& column, const QString& presetValue, const QString& nameColumn,
                   const QString& message, const QString& title) {
    return [=](Database&, const EditedRecord& r) -> Verdict {
        if (!r.isNew() && r.original(column).toString() == presetValue)
            return Refusal{message.arg(r.text(nameColumn)), title};
        return std::nullopt;
    };
}

} // namespace sorrel::lists
