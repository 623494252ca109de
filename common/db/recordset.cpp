#include "common/db/recordset.h"

#include "common/db/errors.h"
#include "common/db_datetime.h"

namespace sorrel {

RecordSet::RecordSet(QStringList columns, QList<QVariantList> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

int RecordSet::columnIndex(const QString& name) const {
    // Most names are asked for as the statement wrote them: the exact match is found first, at
    // the cost of comparing lengths.
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i] == name) return i;
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int RecordSet::requireColumn(const QString& name) const {
    const int index = columnIndex(name);
    if (index < 0) throw DbError(QStringLiteral("no column %1 in the result").arg(name));
    return index;
}

const QVariant& RecordSet::value(int row, const QString& column) const {
    return value(row, requireColumn(column));
}

const QVariant& RecordSet::value(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= columns_.size())
        throw DbError(QStringLiteral("row %1, column %2 out of range").arg(row).arg(column));
    return rows_[row][column];
}

QDateTime RecordSet::dateTime(int row, const QString& column) const {
    return fromDbDateTime(value(row, column));
}

void RecordSet::setValue(int row, const QString& column, const QVariant& value) {
    const int c = requireColumn(column);
    if (row < 0 || row >= rows_.size()) throw DbError(QStringLiteral("row %1 out of range").arg(row));
    rows_[row][c] = value;
}

void RecordSet::appendRow(const QVariantList& values) {
    QVariantList row = values;
    row.resize(columns_.size());
    rows_.append(row);
}

void RecordSet::removeRow(int row) {
    if (row >= 0 && row < rows_.size()) rows_.removeAt(row);
}

namespace {
bool sameValue(const QVariant& stored, const QVariant& wanted) {
    if (stored.isNull() || wanted.isNull()) return stored.isNull() && wanted.isNull();
    const auto isNumber = [](const QVariant& v) {
        switch (v.userType()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Bool:
            return true;
        default:
            return false;
        }
    };
    if (isNumber(stored) && isNumber(wanted)) return stored.toDouble() == wanted.toDouble();
    return stored.toString() == wanted.toString();
}
} // namespace

int RecordSet::locate(const QVariantMap& values, int from) const {
    QList<QPair<int, QVariant>> wanted;
    for (auto it = values.begin(); it != values.end(); ++it)
        wanted.append({requireColumn(it.key()), it.value()});
    for (int r = qMax(0, from); r < rows_.size(); ++r) {
        bool all = true;
        for (const auto& [c, v] : wanted)
            if (!sameValue(rows_[r][c], v)) {
                all = false;
                break;
            }
        if (all) return r;
    }
    return -1;
}

RecordSet RecordSet::filtered(const std::function<bool(const Row&)>& keep) const {
    QList<QVariantList> kept;
    for (int r = 0; r < rows_.size(); ++r)
        if (keep(Row(*this, r))) kept.append(rows_[r]);
    return RecordSet(columns_, kept);
}

} // namespace sorrel
