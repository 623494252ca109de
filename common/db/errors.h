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
