// Errors of the data layer: a database error, and the coded failure of a business transaction
// that the screens show as "系统发生错误编码[…]" before closing the program.
#pragma once

#include <QString>
#include <stdexcept>

namespace sorrel {

// Any failure reported by a database engine (bad SQL, constraint, lost connection, wrong key).
class DbError : public std::runtime_error {
  public:
    explicit DbError(const QString& message) : std::runtime_error(message.toStdString()), text_(message) {}
    const QString& text() const { return text_; }
    // What went wrong without the statement it met (which both engines append), for the staff.
    QString reason() const { return text_.section(QStringLiteral("\nSQL: "), 0, 0); }

  private:
    QString text_;
};

// The file opens with its key but pages it needs are damaged (a disk fault, a copy cut short):
// told apart from a wrong password or a file that is no database at all.
class DamagedDatabase : public DbError {
  public:
    using DbError::DbError;
};

// A business step refused because the database no longer holds what the operator acted on:
// another workstation changed it meanwhile. Nothing of the step was kept; the screen shows
// `text()` and the program carries on.
class StepRefused : public std::runtime_error {
  public:
    explicit StepRefused(const QString& message)
        : std::runtime_error(message.toStdString()), text_(message) {}
    const QString& text() const { return text_; }

  private:
    QString text_;
};

// Another workstation held the database's writing lock for as long as a step may wait for it
// (a desk stopped in the middle of its save, a network that dropped). Nothing was written and the
// screen stays where it was: the operator tries again in a moment.
class DatabaseBusy : public StepRefused {
  public:
    DatabaseBusy() : StepRefused(QStringLiteral("其他工作站正在保存数据，请稍候再试！")) {}
};

// A business transaction failed and was rolled back; `code` is the operation's code
// (B100002 for opening a table, A100009 for a back-office item change, …).
class CodedFailure : public std::runtime_error {
  public:
    CodedFailure(const QString& code, const QString& detail)
        : std::runtime_error(("[" + code + "] " + detail).toStdString()), code_(code), detail_(detail) {}
    const QString& code() const { return code_; }
    const QString& detail() const { return detail_; }

  private:
    QString code_;
    QString detail_;
};

} // namespace sorrel
