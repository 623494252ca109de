// Transaction: a scope guard. Begins in the constructor, commits only when told, rolls back in
// the destructor otherwise. runCoded() wraps one business step and turns any failure into the
// step's CodedFailure after the rollback.
#pragma once

#include "common/db/database.h"
#include "common/db/errors.h"

#include <exception>
#include <utility>

namespace sorrel {

class Transaction {
  public:
    explicit Transaction(Database& db);
    // A transaction that only reads (Database::beginReading).
    struct ReadingOnly {};
    Transaction(Database& db, ReadingOnly);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

  private:
    Database& db_;
    bool open_ = true;
};

// Runs `step` in one transaction. Commit on success; on any exception roll back and throw
// CodedFailure(code, what went wrong). A StepRefused is rolled back and passed on as it is: it is
// an answer for the operator, not a failure. The value `step` returns is handed back.
template <typename Step> auto runCoded(Database& db, const QString& code, Step&& step) -> decltype(step()) {
    try {
        Transaction tx(db);
        if constexpr (std::is_void_v<decltype(step())>) {
            std::forward<Step>(step)();
            tx.commit();
        } else {
            auto result = std::forward<Step>(step)();
            tx.commit();
            return result;
        }
    } catch (const CodedFailure&) {
        throw;
    } catch (const StepRefused&) {
        throw;
    } catch (const std::exception& e) {
        throw CodedFailure(code, QString::fromStdString(e.what()));
    } catch (...) {
        throw CodedFailure(code, QStringLiteral("unknown error"));
    }
}

} // namespace sorrel
