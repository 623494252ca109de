#include "frontdesk/checkout/column_fit.h"

#include "common/schema/schema.h"

namespace sorrel::checkout {

namespace {

int lengthOf(const QString& table, const QString& column) {
    const schema::Table* t = schema::findTable(table);
    const schema::Column* c = t ? t->column(column) : nullptr;
    return c && c->type == schema::ColumnType::Text ? c->size : 0;
}

} // namespace

QString fitted(const QString& table, const QString& column, const QString& text) {
    const int length = lengthOf(table, column);
    return length > 0 ? text.left(length) : text;
}

QString fittedSql(const QString& table, const QString& column, const QString& expression) {
    const int length = lengthOf(table, column);
    return length > 0 ? QStringLiteral("substr(%1, 1, %2)").arg(expression).arg(length) : expression;
}

} // namespace sorrel::checkout
