#include "command_line.h"

namespace sorrel::tool {

std::optional<Invocation> parseCommandLine(const QList<Command>& commands, const QStringList& arguments,
                                           QString* error) {
    if (arguments.isEmpty()) {
        *error = QStringLiteral("没有给出命令");
        return std::nullopt;
    }
    for (const Command& command : commands) {
        if (command.name != arguments.first()) continue;
        const QStringList operands = arguments.mid(1);
        if (operands.size() != command.operands.size()) {
            *error = QStringLiteral("命令 %1 需要 %2 个参数（%3），给了 %4 个")
                         .arg(command.name)
                         .arg(command.operands.size())
                         .arg(command.operands.join(QLatin1Char(' ')))
                         .arg(operands.size());
            return std::nullopt;
        }
        return Invocation{&command, operands};
    }
    *error = QStringLiteral("未知命令：%1").arg(arguments.first());
    return std::nullopt;
}

QString usageText(const QList<Command>& commands) {
    QString text = QStringLiteral("用法：\n");
    for (const Command& command : commands)
        text += QStringLiteral("  sorrel-db %1 %2\n      %3\n")
                    .arg(command.name, command.operands.join(QLatin1Char(' ')), command.summary);
    return text;
}

} // namespace sorrel::tool
