// The command line of sorrel-db: which command, with which operands. Each command is one row
// of a table, so adding one (a server target, a copy between engines) is one more row.
#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

namespace sorrel::tool {

struct Console {
    QTextStream& out;
    QTextStream& err;
};

struct Command {
    QString name;
    QStringList operands;                                      // operand names, for the usage text
    QString summary;                                           // one line for the usage text
    int (*run)(const QStringList& operands, Console& console); // exit code
};

struct Invocation {
    const Command* command;
    QStringList operands;
};

// The command named by `arguments` (program name excluded) among `commands`, with its
// operands; nullopt with `error` set when the line is not one of them.
std::optional<Invocation> parseCommandLine(const QList<Command>& commands, const QStringList& arguments,
                                           QString* error);

QString usageText(const QList<Command>& commands);

} // namespace sorrel::tool
