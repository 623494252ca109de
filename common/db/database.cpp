#include "common/db/database.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"

namespace sorrel {

QString engineName(Engine engine) {
    return engine == Engine::Embedded ? QStringLiteral("sqlite") : QStringLiteral("postgres");
}

void refuseTextWithNul(const QVariantList& params, const QString& sql) {
    for (int i = 0; i < params.size(); ++i)
        if (params[i].userType() == QMetaType::QString && params[i].toString().contains(QChar(0)))
            throw DbError(
                QStringLiteral("文字中含有空字符（NUL），无法保存：第 %1 个值\nSQL: %2").arg(i + 1).arg(sql));
}

void Database::refuseWhileWaiting() const {
    if (inWait_) throw DbError(QStringLiteral("数据库连接正在等待其他工作站保存数据：%1").arg(location()));
}

QVariant Database::scalar(const QString& sql, const QVariantList& params) {
    const RecordSet rows = query(sql, params);
    if (rows.isEmpty() || rows.columnCount() == 0) return {};
    return rows.value(0, 0);
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.begin();
}

Transaction::Transaction(Database& db, ReadingOnly) : db_(db) {
    db_.beginReading();
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
