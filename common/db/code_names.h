// The name of each code in a small list (operators, departments, kinds…): a query whose first
// column is the code and whose second is its name.
#pragma once

#include <QHash>
#include <QString>

namespace sorrel {

class Database;

QHash<QString, QString> namesByCode(Database& db, const QString& sql);

} // namespace sorrel
