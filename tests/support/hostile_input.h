// Hostile input for the screen tests of both programs: what an operator may paste, the fields of a
// screen an operator can type in, pasting as with Ctrl+V, and the checks on what was stored (every
// text within its column, whole characters and no control characters; every number real).
#pragma once

#include "common/db/database.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <string>

class QWidget;

namespace sorrel::test {

// What an operator may paste into any field, from a scanner, a chat window or a prank.
QStringList hostileTexts();
// The input as a failure names it: its start, control characters spelled out, and its length.
std::string printable(const QString& text);
// The fields of `root` an operator can type in, in the order they were made.
QList<QWidget*> editableFields(QWidget* root);
// Brings `field` on show: the tab page holding it made current.
void reveal(QWidget* field);
QString fieldName(QWidget* field);
// Pastes `text` over what `field` holds, as an operator does with Ctrl+V, then presses Enter.
void pasteInto(QWidget* field, const QString& text);

// Every table as row count and checksum of its rows, by name.
QMap<QString, QString> tableSnapshot(Database& db);
// Every stored text within its column, made of whole characters and free of control characters;
// every stored number real.
void expectStoredValuesSound(Database& db, const char* screen);

} // namespace sorrel::test
