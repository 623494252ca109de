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
    QStringList operands; // operand names for the usage text; "--name" is typed as it stands
    QString summary;      // one line for the usage text
    int (*run)(const QStringList& operands, Console& console); // exit code
};

struct Invocation {
    const Command* command;
    QStringList operands; // the values, without the "--name" operands
};

// The first row of `commands` that `arguments` (program name excluded) fits: its name, as many
// operands, and every "--name" operand where the row has it. Rows may share a name. nullopt with
// `error` set when the line fits none of them.
std::optional<Invocation> parseCommandLine(const QList<Command>& commands, const QStringList& arguments,
                                           QString* error);

QString usageText(const QList<Command>& commands);

} // namespace sorrel::tool
