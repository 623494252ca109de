// The message sink of a running program: real message boxes with the program's title, an
// error icon for errors, and Yes/No questions whose default button is No.
#pragma once

#include "common/messages.h"

namespace sorrel::ui {

class MessageBoxSink final : public MessageSink {
  public:
    bool show(MessageKind kind, const QString& title, const QString& text) override;
    bool askPassword(const QString& title, const QString& prompt, QString& typed) override;
};

} // namespace sorrel::ui
