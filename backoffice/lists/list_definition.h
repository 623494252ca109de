// What one maintenance list of the back office is, declared as data: its table and key, the
// columns the manager edits, how a master list narrows it, what a new record starts with, and
// the checks that refuse a save, a code change or a delete with the list's own message.
#pragma once

#include "common/db/database.h"
#include "common/typed_input.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace sorrel::lists {

class MaintenanceList;

// The messages every list shares: a code that is already another record's, and the presets
// (with the record's name in place of %1).
inline const QString kDuplicateCodeMessage = QStringLiteral("编号有重复，请从新输入！");
inline const QString kPresetChangeMessage = QStringLiteral("[%1]为系统预设项目，所以不能被修改！");
inline const QString kPresetDeleteMessage = QStringLiteral("[%1]为系统预设项目，所以不能被删除！");
// The title of the few boxes of the back office that carry the series' name.
inline const QString kSeriesTitle = QStringLiteral("岚舟管理系列");

// A refused save, change or delete: the message and the title of its box (empty: the program's).
struct Refusal {
    QString message;
    QString title;
};
using Verdict = std::optional<Refusal>;

// The current record as a check sees it: what it holds now and what it held when it was read.
class EditedRecord {
  public:
    EditedRecord(const RecordSet& rows, int row, const QVariantList& original, bool isNew)
        : rows_(rows), row_(row), original_(original), isNew_(isNew) {}

    QVariant value(const QString& column) const { return rows_.value(row_, column); }
    QString text(const QString& column) const { return value(column).toString(); }
    double number(const QString& column) const { return value(column).toDouble(); }
    // Empty text, blanks only, or no value at all.
    bool blank(const QString& column) const;
    QVariant original(const QString& column) const;
    bool isNew() const { return isNew_; }
    // An existing record whose column now differs from what was read.
    bool changed(const QString& column) const;

  private:
    const RecordSet& rows_;
    int row_;
    const QVariantList& original_;
    bool isNew_;
};

// A check reads the database (inside the posting transaction when it guards a save or a delete)
// and answers a refusal or nothing.
using Check = std::function<Verdict(Database& db, const EditedRecord& record)>;

// A code guard: refuses as soon as the manager changes `column` of an existing record, and again
// when such a change is saved.
struct CodeGuard {
    QString column;
    Check check;
};

struct ListDefinition {
    QString table;
    QString key;                  // the column a record is posted by
    bool keyIsAutoNumber = false; // the database numbers new records
    QStringList edited;           // the only columns this list ever writes to an existing record
    QString orderBy;              // empty: by key
    QString masterColumn;         // narrowed to the master list's current key; empty: not narrowed
    QString fixedCondition;       // SQL without values that every listed row meets; empty: none
    QVariantMap defaults;         // what a new record starts with (the master column aside)
    // Further defaults that depend on the moment (the kind of the current class, …).
    std::function<void(QVariantMap& defaults)> computedDefaults;
    QList<Check> saveChecks; // in order; the first refusal decides
    QList<CodeGuard> guards;
    QList<Check> deleteChecks; // in order, on the record as it is stored
    // What goes with a deleted record, in the same transaction.
    std::function<void(Database& db, const EditedRecord& deleted)> alsoDelete;
    // What goes with a saved record, in the same transaction, after it was written: the rows a
    // new record owns, the rows that carry its key along when the key changed.
    std::function<void(Database& db, const EditedRecord& saved)> alsoSave;
    // Text columns stored without blanks around them (trimmed before the checks run).
    QStringList trimmed;
    // Number columns that hold less than their type does (a discount from 0 to 100), by name.
    QMap<QString, NumberRange> ranges;
    // The code a failed save or delete is reported under (CodedFailure); empty: the database's
    // error reaches the program-wide handler as it is.
    QString failureCode;
    // Shown when the key typed is already another record's; empty: the database's refusal goes
    // to the program-wide handler.
    QString duplicateMessage;
    // After the manager changed a column (the cost that follows the price, …).
    std::function<void(MaintenanceList& list, const QString& column)> afterEdit;
    // "回退" from this list back to its master panel: the recomputation it owes.
    std::function<void()> leaveStep;
};

// RecordSearch: does `table` have a row whose `column` holds the value? For delete checks and
// code guards: referencedIn("classlist", "kind_code") asks whether any class names the kind.
using Reference = std::function<bool(Database& db, const QVariant& value)>;
Reference referencedIn(const QString& table, const QString& column);
bool recordSearch(Database& db, const QString& table, const QString& column, const QVariant& value);

// Check builders for the common cases.
// Any of `columns` blank (or a number column at or below 0 when listed in `positive`).
Check requireFilled(const QStringList& columns, const QString& message, const QStringList& positive = {});
// An existing record's `column` changed while its stored value is referenced.
Check refuseChangeWhile(const QString& column, Reference reference, const QString& message,
                        const QString& title = {});
// The stored record's `column` is referenced (delete checks; code guards).
Check refuseWhile(const QString& column, Reference reference, const QString& message,
                  const QString& title = {});
// A code other rows name, kept while any does: re-coding is refused with `subject` +
// "，所以不能被修改！" (under `recodeTitle`), deleting with `subject` + "，所以不能被删除！".
// Appends one code guard and one delete check, after those already in `d`.
void refuseWhileReferenced(ListDefinition& d, const QString& column, const Reference& reference,
                           const QString& subject, const QString& recodeTitle = {});
// The stored record's `column` holds a preset value; `message` gets the record's name column
// in place of %1.
Check refusePreset(const QString& column, const QString& presetValue, const QString& nameColumn,
                   const QString& message, const QString& title = {});

} // namespace sorrel::lists
