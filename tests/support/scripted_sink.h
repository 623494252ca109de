// The message sink of the tests: records every message and answers questions from a script
// (No once the script runs out), so no test ever waits on a dialog.
#pragma once

#include "common/messages.h"

#include <QList>
#include <QStringList>

namespace sorrel::test {

class ScriptedSink final : public MessageSink {
  public:
    struct Shown {
        MessageKind kind;
        QString title;
        QString text;
    };

    ScriptedSink() { messages::installSink(this); }
    ~ScriptedSink() override { messages::installSink(nullptr); }

    bool show(MessageKind kind, const QString& title, const QString& text) override {
        shown.append({kind, title, text});
        if (kind != MessageKind::Question || answers.isEmpty()) return kind != MessageKind::Question;
        return answers.takeFirst();
    }

    bool askPassword(const QString& title, const QString& prompt, QString& typed) override {
        shown.append({MessageKind::Question, title, prompt});
        if (passwords.isEmpty()) return false;
        typed = passwords.takeFirst();
        return true;
    }

    QStringList texts() const {
        QStringList t;
        for (const Shown& s : shown)
            t << s.text;
        return t;
    }

    QList<Shown> shown;
    QList<bool> answers;
    QStringList passwords; // typed into password prompts; cancelled once they run out
};

} // namespace sorrel::test
