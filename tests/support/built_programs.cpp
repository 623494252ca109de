#include "tests/support/built_programs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace sorrel::test {

namespace {

// QProcess wants an application object; test programs have none of their own.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "sorrel-test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

} // namespace

QString builtProgram(const QString& name) {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(self).dir().filePath(name);
}

void startProgram(QProcess& process, const QString& name, const QStringList& arguments) {
    ensureApplication();
    process.start(builtProgram(name), arguments);
}

ProgramRun finishProgram(QProcess& process, int timeoutMs) {
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.crashed = true;
    }
    run.crashed = run.crashed || process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    if (process.error() == QProcess::FailedToStart)
        run.err += process.program() + QStringLiteral(": ") + process.errorString();
    return run;
}

ProgramRun runProgram(const QString& name, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    startProgram(process, name, arguments);
    return finishProgram(process, timeoutMs);
}

} // namespace sorrel::test
