#include "common/db/row_batch.h"

#include "common/db/errors.h"
#include "common/db/insert_statement.h"

namespace sorrel {

namespace {
// The file engine takes at most 999 values in one statement.
constexpr int kValuesPerStatement = 900;
} // namespace

RowBatch::RowBatch(Database& db, const QString& table, const QStringList& columns)
    : db_(db), table_(table), columns_(columns),
      rowsPerStatement_(qMax(1, kValuesPerStatement / int(qMax(qsizetype(1), columns.size())))),
      fullStatement_(insertStatement(table, columns, rowsPerStatement_)) {
    pending_.reserve(rowsPerStatement_ * columns_.size());
}

void RowBatch::add(const QVariantList& row) {
    if (row.size() != columns_.size())
        throw DbError(QStringLiteral("%1：一行有 %2 个值，应为 %3 个")
                          .arg(table_)
                          .arg(row.size())
                          .arg(columns_.size()));
    pending_ << row;
    if (pending_.size() >= rowsPerStatement_ * columns_.size()) flush();
}

void RowBatch::flush() {
    if (pending_.isEmpty()) return;
    const int rows = int(pending_.size() / columns_.size());
    db_.execLater(rows == rowsPerStatement_ ? fullStatement_ : insertStatement(table_, columns_, rows), pending_);
    pending_.clear();
}

} // namespace sorrel
