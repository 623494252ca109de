#include "common/messages.h"

#include <cstdio>

namespace sorrel::messages {

namespace {

MessageSink* g_sink = nullptr;

QString& currentTitle() {
    static QString t = kFrontDeskTitle;
    return t;
}

bool deliver(MessageKind kind, const QString& text, const QString& title = {}) {
    const QString shown = title.isEmpty() ? currentTitle() : title;
    if (g_sink) return g_sink->show(kind, shown, text);
    std::fprintf(stderr, "[%s] %s\n", qPrintable(shown), qPrintable(text));
    return false;
}

} // namespace

void installSink(MessageSink* sink) {
    g_sink = sink;
}
MessageSink* installedSink() {
    return g_sink;
}
void setTitle(const QString& title) {
    currentTitle() = title;
}
QString title() {
    return currentTitle();
}

void information(const QString& text) {
    deliver(MessageKind::Information, text);
}
void information(const QString& text, const QString& title) {
    deliver(MessageKind::Information, text, title);
}
void error(const QString& text) {
    deliver(MessageKind::Error, text);
}
bool ask(const QString& text) {
    return deliver(MessageKind::Question, text);
}
bool askPassword(const QString& prompt, QString& typed) {
    return g_sink && g_sink->askPassword(currentTitle(), prompt, typed);
}

} // namespace sorrel::messages
