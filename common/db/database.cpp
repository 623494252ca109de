#include "common/db/database.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"

namespace sorrel {

QString engineName(Engine engine) {
    return engine == Engine::Embedded ? QStringLiteral("sqlite") : QStringLiteral("postgres");
}

QVariant Database::scalar(const QString& sql, const QVariantList& params) {
    const RecordSet rows = query(sql, params);
    if (rows.isEmpty() || rows.columnCount() == 0) return {};
    return rows.value(0, 0);
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.begin();
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        db_.rollback();
    } catch (...) {
        // The connection is already broken; the engine discards the transaction with it.
    }
}

void Transaction::commit() {
    db_.commit();
    open_ = false;
}

} // namespace sorrel
