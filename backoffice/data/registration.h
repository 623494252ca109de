// "注册用户": the venue's own names and telephone in the settings row (the bill's header and
// footer, the report titles), kept as read and as typed, and saved by the record toolbar.
// Only these four columns are ever written from here.
#pragma once

#include "common/db/database.h"
#include "common/settings_row.h"

#include <QList>

namespace sorrel::data {

struct NameField {
    QString caption;
    QString column;
    int length; // what the column holds
};
// "用户名称" (30), "英文名称" (20), "营业电话" (20), "用户简称" (10), in the panel's order.
const QList<NameField>& nameFields();

class BusinessNames {
  public:
    // As the settings row holds them now; DbError unless it holds one row.
    static BusinessNames load(Database& db);

    QString value(const QString& column) const { return typed_.value(column).toString(); }
    // The typed text, plain and held to the column's length.
    void set(const QString& column, const QString& text);
    bool changed() const { return typed_ != asRead_; }
    // "保存": the changed columns in one transaction; StepRefused (nothing written) when another
    // workstation changed one of them since they were read. Then read again.
    void save(Database& db);
    // "取消": back to what was read.
    void cancel() { typed_ = asRead_; }

  private:
    SettingsValues asRead_, typed_;
};

} // namespace sorrel::data
