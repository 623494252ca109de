// The short code-and-name lists the panels offer in their choice boxes and grids show by name
// (output points, units, item types, classes).
#pragma once

#include "common/db/database.h"

#include <QList>
#include <QString>

namespace sorrel::lists {

struct Choice {
    QString code;
    QString name;
};
using Choices = QList<Choice>;

// The first two columns of each row: code and name.
Choices readChoices(Database& db, const QString& sql, const QVariantList& params = {});
// The name of `code`, or the code itself when the list has no such entry.
QString nameOf(const Choices& choices, const QString& code);

} // namespace sorrel::lists
