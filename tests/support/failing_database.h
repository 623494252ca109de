// A connection that fails like a broken disk or a dropped server: every statement whose text
// contains a chosen piece fails with DbError; everything else goes through to the real one.
#pragma once

#include "common/db/database.h"
#include "common/db/errors.h"

namespace sorrel::test {

class FailingDatabase final : public Database {
  public:
    FailingDatabase(Database& real, QString failOn) : real_(real), failOn_(std::move(failOn)) {}

    Engine engine() const override { return real_.engine(); }
    QString location() const override { return real_.location(); }
    int exec(const QString& sql, const QVariantList& params = {}) override {
        check(sql);
        return real_.exec(sql, params);
    }
    RecordSet query(const QString& sql, const QVariantList& params = {}) override {
        check(sql);
        return real_.query(sql, params);
    }
    void begin() override { real_.begin(); }
    void commit() override { real_.commit(); }
    void rollback() override { real_.rollback(); }
    bool inTransaction() const override { return real_.inTransaction(); }
    QStringList columnsOf(const QString& table) override { return real_.columnsOf(table); }
    QString lockRowsClause() const override { return real_.lockRowsClause(); }

  private:
    void check(const QString& sql) const {
        if (sql.contains(failOn_, Qt::CaseInsensitive)) throw DbError(QStringLiteral("disk I/O error"));
    }

    Database& real_;
    QString failOn_;
};

} // namespace sorrel::test
