// sorrel-db: the administrator's command line. Every failure ends with a message on stderr
// and a non-zero exit code, never with a crash.
#include "command_line.h"
#include "commands.h"
#include "common/local_time_zone.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    sorrel::nameLocalTimeZone();
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    sorrel::tool::Console console{out, err};
    const QList<sorrel::tool::Command>& commands = sorrel::tool::commands();

    QString error;
    const auto invocation = sorrel::tool::parseCommandLine(commands, app.arguments().mid(1), &error);
    if (!invocation) {
        err << "sorrel-db: " << error << "\n" << sorrel::tool::usageText(commands);
        return sorrel::tool::kUsage;
    }
    try {
        return invocation->command->run(invocation->operands, console);
    } catch (const std::exception& e) {
        err << "sorrel-db: " << QString::fromUtf8(e.what()) << "\n";
        return sorrel::tool::kFailed;
    }
}
