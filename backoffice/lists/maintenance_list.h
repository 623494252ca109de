// One maintenance list of the back office: a snapshot of a table (narrowed by its master list)
// with a current record that is being browsed, edited or inserted. Saving posts the current
// record by its key in one short transaction that re-runs the list's checks against the
// database as it is then, writes only the edited columns that changed, and refuses when another
// workstation changed or removed the record meanwhile. Messages go through the message service;
// no transaction is ever open while the manager reads one or types.
#pragma once

#include "backoffice/lists/list_definition.h"

#include <QObject>

namespace sorrel::lists {

inline const QString kRecordGoneMessage =
    QStringLiteral("此记录已被其他工作站删除或修改了编号，列表已重新读取！");
inline const QString kRecordChangedMessage =
    QStringLiteral("此记录已被其他工作站修改，列表已重新读取，请重新输入！");

class MaintenanceList : public QObject {
    Q_OBJECT
  public:
    enum class State { Browsing, Editing, Inserting };

    MaintenanceList(Database& db, ListDefinition definition, QObject* parent = nullptr);

    const ListDefinition& definition() const { return def_; }
    const QString& table() const { return def_.table; }
    Database& db() const { return db_; }

    // Re-reads the rows (narrowed by the master's key) and keeps the current record by its key
    // when it is still there, else the first one. Pending changes are dropped.
    void reload();
    // A list that follows a master: the master's current key narrows it, and the master may
    // move only once this list has saved what it has pending.
    void follow(MaintenanceList& master);
    MaintenanceList* master() const { return master_; }
    QVariant masterValue() const { return masterValue_; }

    const RecordSet& rows() const { return rows_; }
    int rowCount() const { return rows_.rowCount(); }
    bool isEmpty() const { return rows_.isEmpty(); }
    int current() const { return current_; }
    State state() const { return state_; }
    bool hasPending() const { return state_ != State::Browsing; }

    // The current record's value; null when there is none.
    QVariant value(const QString& column) const;
    QString text(const QString& column) const { return value(column).toString(); }
    QVariant currentKey() const { return value(def_.key); }
    // The current record's value as it was read, before any pending change.
    QVariant storedValue(const QString& column) const;

    // Moves the current record; a pending change is saved first, and a refused save keeps the
    // record where it is (false).
    bool moveTo(int row);
    bool moveToKey(const QVariant& key);

    // The manager changed a column of the current record: the value is stored in the column's
    // own type (blank text for a number is "no value"; a mistyped number throws InvalidInput).
    // A code guard that refuses shows its message, drops the record's pending changes and
    // answers false.
    bool edit(const QString& column, const QVariant& value);
    // A value set by the program itself (a recomputed cost): no guard, no hook.
    void assign(const QString& column, const QVariant& value);

    // Appends a new record filled with the list's defaults and makes it current. Without a
    // master record (no class chosen for a new item) nothing is appended: false.
    bool append();
    // Saves the current record: checks in order, then the post. False when refused (the message
    // has been shown and the record stays as it is being edited).
    bool save();
    // The two halves of save() for a step that posts the record inside its own, larger
    // transaction: postPending() runs the checks and writes (the caller holds the transaction),
    // settle() tells the outcome once that transaction has ended and answers whether it saved.
    struct SaveOutcome {
        enum Kind { Saved, Refused, Duplicate, Gone, ChangedElsewhere } kind = Saved;
        Refusal refusal;
    };
    SaveOutcome postPending();
    bool settle(const SaveOutcome& outcome);
    // Saves only when something is pending.
    bool saveIfPending() { return !hasPending() || save(); }
    // Drops the current record's pending changes (a new record is removed again).
    void cancel();
    // Deletes the current record after the delete checks. False when refused or nothing to do.
    bool remove();

  signals:
    // The rows were re-read, or a record was appended or removed.
    void rowsReset();
    void currentChanged(int row);
    // A value of the current record changed (an edit, an assignment, a save, a cancel).
    void recordChanged(int row);

  private:
    void readRows();
    void setCurrent(int row);
    void rowsChanged(int newCurrent);
    void masterMoved();
    bool detailsSaved();
    EditedRecord record() const;
    std::optional<Refusal> firstRefusal(const QList<Check>& checks);
    std::optional<Refusal> guardRefusal(bool onlyChanged, const QString& column = {});
    SaveOutcome::Kind post();
    void refreshCurrentFrom(const QVariant& key);
    QVariant typed(const QString& column, const QVariant& value) const;
    void tell(const Refusal& refusal) const;
    // Runs a transaction of this list; a failure becomes the list's coded failure.
    template <typename Step> void coded(Step&& step);

    Database& db_;
    ListDefinition def_;
    MaintenanceList* master_ = nullptr;
    QList<MaintenanceList*> details_;
    bool loaded_ = false;
    QVariant masterValue_;
    RecordSet rows_;
    int current_ = -1;
    State state_ = State::Browsing;
    QVariantList original_; // the current record as read
};

} // namespace sorrel::lists
