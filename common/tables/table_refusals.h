// What a table step answers when the database no longer holds what the operator saw: another
// workstation opened, changed or removed the table (or took over the booking) meanwhile.
#pragma once

#include "common/db/errors.h"

#include <QString>

namespace sorrel::tables {

QString tableChangedElsewhereMessage(const QString& tableCode);

// The refusal of a step whose table or bill another workstation changed meanwhile: the screen
// shows it and goes back to the board, where the table is seen as it is now.
class TableChangedElsewhere : public StepRefused {
  public:
    explicit TableChangedElsewhere(const QString& tableCode)
        : StepRefused(tableChangedElsewhereMessage(tableCode)), tableCode_(tableCode) {}
    const QString& tableCode() const { return tableCode_; }

  private:
    QString tableCode_;
};
QString bookingGoneMessage();

} // namespace sorrel::tables
