#include "common/clock.h"

namespace sorrel {

QDateTime SystemClock::now() const {
    // Whole seconds: every stored time is kept to the second.
    const QDateTime t = QDateTime::currentDateTime();
    return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute(), t.time().second()));
}

} // namespace sorrel
