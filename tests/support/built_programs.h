// Running the programs the build puts beside the test executables (build/bin): the
// administrator's tool, the two-workstation helpers. Output is read as UTF-8.
#pragma once

#include <QProcess>
#include <QStringList>

namespace sorrel::test {

struct ProgramRun {
    bool crashed = false;
    int exitCode = -1;
    QString out;
    QString err;
};

// The full path of a program built into the same folder as the running test.
QString builtProgram(const QString& name);

// Starts `name` with `arguments` without waiting; the caller waits on the process.
void startProgram(QProcess& process, const QString& name, const QStringList& arguments);
// Runs `name` to its end (at most `timeoutMs`).
ProgramRun runProgram(const QString& name, const QStringList& arguments, int timeoutMs = 60000);
// Waits for a started process and collects what it did.
ProgramRun finishProgram(QProcess& process, int timeoutMs = 60000);

} // namespace sorrel::test
