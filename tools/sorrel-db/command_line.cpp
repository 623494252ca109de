#include "command_line.h"

namespace sorrel::tool {

namespace {

// An operand written "--name" is typed as it stands; the others are values.
bool isOption(const QString& operand) {
    return operand.startsWith(QLatin1String("--"));
}

bool fits(const Command& command, const QStringList& operands) {
    if (operands.size() != command.operands.size()) return false;
    for (int i = 0; i < operands.size(); ++i)
        if (isOption(command.operands.at(i)) != isOption(operands.at(i)) ||
            (isOption(command.operands.at(i)) && command.operands.at(i) != operands.at(i)))
            return false;
    return true;
}

} // namespace

std::optional<Invocation> parseCommandLine(const QList<Command>& commands, const QStringList& arguments,
                                           QString* error) {
    if (arguments.isEmpty()) {
        *error = QStringLiteral("没有给出命令");
        return std::nullopt;
    }
    const QStringList operands = arguments.mid(1);
    const Command* named = nullptr;
    for (const Command& command : commands) {
        if (command.name != arguments.first()) continue;
        if (!named) named = &command;
        if (!fits(command, operands)) continue;
        QStringList values;
        for (int i = 0; i < operands.size(); ++i)
            if (!isOption(command.operands.at(i))) values << operands.at(i);
        return Invocation{&command, values};
    }
    if (named) {
        *error = QStringLiteral("命令 %1 需要 %2 个参数（%3），给了 %4 个")
                     .arg(named->name)
                     .arg(named->operands.size())
                     .arg(named->operands.join(QLatin1Char(' ')))
                     .arg(operands.size());
        return std::nullopt;
    }
    *error = QStringLiteral("未知命令：%1").arg(arguments.first());
    return std::nullopt;
}

QString usageText(const QList<Command>& commands) {
    QString text = QStringLiteral("用法：\n");
    for (const Command& command : commands)
        text += QStringLiteral("  sorrel-db %1 %2\n      %3\n")
                    .arg(command.name, command.operands.join(QLatin1Char(' ')), command.summary);
    text += QStringLiteral("数据库可以是文件路径，也可以是数据库服务器：postgres://用户@主机:端口/数据库，"
                           "或服务器设置文件 *.conf（同 data/server.conf）\n");
    return text;
}

} // namespace sorrel::tool
