// Messages: every message box of both programs goes through here. The program installs a sink
// that shows real boxes; tests install a scripted one that records and answers.
#pragma once

#include <QString>

namespace sorrel {

// The fixed box titles of the two programs.
inline const QString kFrontDeskTitle = QStringLiteral("岚舟管理系列");
inline const QString kBackOfficeTitle = QStringLiteral("岚舟管理系统 8.0版");

enum class MessageKind { Information, Error, Question };

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows one message; for a question answers Yes (true) or No (false). No is the default.
    virtual bool show(MessageKind kind, const QString& title, const QString& text) = 0;
    // Asks for a password (shown masked); false when the user cancels. A sink that cannot ask
    // answers false.
    virtual bool askPassword(const QString& title, const QString& prompt, QString& typed) {
        (void)title;
        (void)prompt;
        (void)typed;
        return false;
    }
};

namespace messages {

// The sink stays owned by the caller; nullptr falls back to the standard error stream, where
// every question is answered No so that nothing can ever wait for a reader.
void installSink(MessageSink* sink);
MessageSink* installedSink();
void setTitle(const QString& title);
QString title();

void information(const QString& text);
// A notice under another title than the program's (a few checks carry their own); an empty
// title means the program's.
void information(const QString& text, const QString& title);
void error(const QString& text);
// A Yes/No question whose default button is No.
bool ask(const QString& text);
// A password typed into a masked field; false when cancelled (and always without a sink).
bool askPassword(const QString& prompt, QString& typed);

} // namespace messages

} // namespace sorrel
