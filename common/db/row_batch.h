// Many rows of one table written as fast as the engine takes them: on the server gathered into
// multi-row INSERTs, on the file one kept INSERT a row. What moving a venue or writing a long
// history spends its time on.
#pragma once

#include "common/db/database.h"

namespace sorrel {

class RowBatch {
  public:
    RowBatch(Database& db, const QString& table, const QStringList& columns);
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;

    // One row, its values in the order of the columns; a full batch is written at once.
    void add(const QVariantList& row);
    // Writes what is gathered (on the server, with the next statement that waits for an answer).
    // Rows still gathered when the batch is destroyed are dropped: only
    // a failed step leaves them, and its transaction is rolled back.
    void flush();

    int rowsPerStatement() const { return rowsPerStatement_; }

  private:
    Database& db_;
    QString table_;
    QStringList columns_;
    int rowsPerStatement_;
    QString fullStatement_;
    QVariantList pending_;
};

} // namespace sorrel
