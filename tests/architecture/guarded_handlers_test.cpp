// Every handler of a screen runs under the guard (common/ui/guard.h): an error it lets out is
// answered inside the handler and never unwinds through Qt's event loop. A screen file therefore
// connects through ui::connectGuarded() only, and a timer or queued call it starts carries
// ui::guarded(...). Keys bound through KeyboardMap are guarded by the map itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The text with comments and string literals blanked (line breaks kept, so lines still count).
QString codeOnly(const QString& text) {
    QString out = text;
    enum { Code, Line, Block, String, Char } state = Code;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        const QChar next = i + 1 < out.size() ? out[i + 1] : QChar();
        switch (state) {
        case Code:
            if (c == u'/' && next == u'/')
                state = Line;
            else if (c == u'/' && next == u'*')
                state = Block;
            else if (c == u'"')
                state = String;
            else if (c == u'\'')
                state = Char;
            else
                continue;
            break;
        case Line:
            if (c == u'\n') {
                state = Code;
                continue;
            }
            break;
        case Block:
            if (c == u'*' && next == u'/') {
                out[i + 1] = u' ';
                state = Code;
            }
            break;
        case String:
        case Char:
            if (c == u'\\') {
                out[i] = u' ';
                if (i + 1 < out.size() && out[i + 1] != u'\n') out[++i] = u' ';
                continue;
            }
            if (c == (state == String ? u'"' : u'\'')) state = Code;
            break;
        }
        if (out[i] != u'\n') out[i] = u' ';
    }
    return out;
}

struct Unguarded {
    QString file;
    int line;
    QString what;
};

// The places in `code` that start a handler outside the guard.
QList<Unguarded> unguardedIn(const QString& file, const QString& code) {
    QList<Unguarded> found;
    const auto lineOf = [&code](qsizetype at) { return int(code.left(at).count(u'\n')) + 1; };
    // A bare connect, also as QObject::connect (connectGuarded and disconnect do not match).
    static const QRegularExpression bareConnect(QStringLiteral("\\bconnect\\s*\\("));
    for (auto m = bareConnect.globalMatch(code); m.hasNext();) {
        const auto match = m.next();
        found.append({file, lineOf(match.capturedStart()), QStringLiteral("connect(")});
    }
    // A timer or queued call: its statement must hand over a guarded callable.
    static const QRegularExpression deferred(
        QStringLiteral("\\b(singleShot|invokeMethod|callOnTimeout)\\s*\\("));
    for (auto m = deferred.globalMatch(code); m.hasNext();) {
        const auto match = m.next();
        const qsizetype end = code.indexOf(u';', match.capturedEnd());
        const QString statement = code.mid(match.capturedStart(), end < 0 ? -1 : end - match.capturedStart());
        if (!statement.contains(QStringLiteral("guarded(")))
            found.append({file, lineOf(match.capturedStart()), match.captured(1)});
    }
    return found;
}

QStringList screenFiles() {
    QStringList files;
    const QStringList sources =
        readText(QStringLiteral(SORREL_SCREEN_SOURCES)).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& source : sources) {
        files << source;
        const QString header = source.left(source.size() - 4) + QStringLiteral(".h");
        if (QFileInfo::exists(header)) files << header;
    }
    return files;
}

TEST(GuardedHandlersTest, TheCheckFindsEveryUnguardedForm) {
    struct Case {
        const char* code;
        int unguarded;
    } cases[] = {
        {"connect(a, &A::clicked, this, &B::save);", 1},
        {"QObject::connect(a, &A::clicked, this, [this] { save(); });", 1},
        {"ui::connectGuarded(a, &A::clicked, this, &B::save);", 0},
        {"disconnect(a, nullptr, this, nullptr);", 0},
        {"// connect(a, &A::clicked, this, &B::save);\n", 0},
        {"label->setText(\"connect(\");", 0},
        {"QTimer::singleShot(0, this, &QWidget::close);", 1},
        {"QTimer::singleShot(0, this, ui::guarded(this, &QWidget::close));", 0},
        {"QMetaObject::invokeMethod(this, [this] { load(); }, Qt::QueuedConnection);", 1},
        {"QMetaObject::invokeMethod(this, ui::guarded([this] { load(); }), Qt::QueuedConnection);", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unguardedIn(QStringLiteral("x.cpp"), codeOnly(QString::fromUtf8(c.code))).size(),
                  c.unguarded)
            << c.code;
}

TEST(GuardedHandlersTest, EveryScreenHandlerRunsUnderTheGuard) {
    const QStringList files = screenFiles();
    // Both programs' screens and the shared widgets are all there.
    ASSERT_GT(files.size(), 40);
    for (const char* expected : {"/frontdesk/checkout/checkout_screen.cpp", "/common/ui/keyboard_map.cpp"})
        EXPECT_TRUE(files.filter(QString::fromUtf8(expected)).size() == 1) << expected;
    QStringList report;
    for (const QString& file : files)
        for (const Unguarded& u : unguardedIn(file, codeOnly(readText(file))))
            report << QStringLiteral("%1:%2: %3 outside the guard").arg(u.file).arg(u.line).arg(u.what);
    EXPECT_TRUE(report.isEmpty()) << report.join(u'\n').toStdString();
}

} // namespace
