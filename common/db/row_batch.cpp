#include "common/db/row_batch.h"

#include "common/db/errors.h"
#include "common/db/insert_statement.h"

namespace sorrel {

namespace {
// The server takes many rows in one statement, and the file would take at most 999 values.
constexpr int kValuesPerStatement = 900;

// On the file a row goes in its own kept statement: a statement of many rows inside a long
// transaction makes the file keep a journal of every page it touches, encrypted once more, which
// costs more than the statements saved. On the server each statement is a trip over the network.
int rowsFor(const Database& db, const QStringList& columns) {
    if (db.engine() == Engine::Embedded) return 1;
    return qMax(1, kValuesPerStatement / int(qMax(qsizetype(1), columns.size())));
}
} // namespace

RowBatch::RowBatch(Database& db, const QString& table, const QStringList& columns)
    : db_(db), table_(table), columns_(columns), rowsPerStatement_(rowsFor(db, columns)),
      fullStatement_(insertStatement(table, columns, rowsPerStatement_)) {
    pending_.reserve(rowsPerStatement_ * columns_.size());
}

void RowBatch::add(const QVariantList& row) {
    if (row.size() != columns_.size())
        throw DbError(QStringLiteral("%1：一行有 %2 个值，应为 %3 个")
                          .arg(table_)
                          .arg(row.size())
                          .arg(columns_.size()));
    if (rowsPerStatement_ == 1) {
        db_.execLater(fullStatement_, row);
        return;
    }
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
