#include "backoffice/data/registration.h"

#include "common/db/transaction.h"
#include "common/typed_input.h"

#include <stdexcept>

namespace sorrel::data {

const QList<NameField>& nameFields() {
    static const QList<NameField> fields = {
        {QStringLiteral("用户名称"), QStringLiteral("user_name"), 30},
        {QStringLiteral("英文名称"), QStringLiteral("user_name_e"), 20},
        {QStringLiteral("营业电话"), QStringLiteral("user_tele"), 20},
        {QStringLiteral("用户简称"), QStringLiteral("user_name_s"), 10},
    };
    return fields;
}

BusinessNames BusinessNames::load(Database& db) {
    SettingsValues shape;
    for (const NameField& f : nameFields())
        shape.insert(f.column, QString());
    BusinessNames names;
    names.asRead_ = names.typed_ = readSettingsValues(db, kCashierSettingsTable, shape);
    return names;
}

void BusinessNames::set(const QString& column, const QString& text) {
    for (const NameField& f : nameFields())
        if (f.column == column) {
            typed_.insert(column, plainTypedText(text).left(f.length));
            return;
        }
    throw std::logic_error("no such business name column");
}

void BusinessNames::save(Database& db) {
    Transaction tx(db);
    saveChangedSettings(db, kCashierSettingsTable, asRead_, typed_);
    tx.commit();
    *this = load(db);
}

} // namespace sorrel::data
