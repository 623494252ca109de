#include "waiter/one_transaction.h"

#include "common/db/errors.h"

namespace sorrel::waiter {

void JoiningConnection::begin() {
    if (depth_ == 0) real_.begin();
    ++depth_;
}

void JoiningConnection::beginReading() {
    // Reading inside the request's transaction sees what it wrote so far.
    if (depth_ == 0) real_.beginReading();
    ++depth_;
}

void JoiningConnection::commit() {
    // Rolled back inside meanwhile: the engine refuses the commit ("commit without a transaction").
    if (depth_ <= 1) {
        real_.commit();
        depth_ = 0;
        return;
    }
    --depth_;
}

void JoiningConnection::rollback() {
    if (depth_ == 0) return;
    depth_ = 0;
    real_.rollback();
}

} // namespace sorrel::waiter
