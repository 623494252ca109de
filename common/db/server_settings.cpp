#include "common/db/server_settings.h"

#include "common/db/connection.h"
#include "common/db/errors.h"

#include <QFile>
#include <QSaveFile>
#include <QUrl>

namespace sorrel {

namespace {

void requireComplete(const ServerSettings& s, const QString& source) {
    const QList<QPair<QString, QString>> required = {{QStringLiteral("host"), s.host},
                                                     {QStringLiteral("database"), s.database},
                                                     {QStringLiteral("user"), s.user}};
    for (const auto& [key, value] : required)
        if (value.isEmpty()) throw DbError(QStringLiteral("数据库服务器设置 %1 缺少 %2").arg(source, key));
    if (s.port <= 0 || s.port > 65535)
        throw DbError(QStringLiteral("数据库服务器设置 %1 的端口无效").arg(source));
}

// A note runs from a "#" that begins the line or follows a blank to the end of the line; a "#"
// right after other characters belongs to the value ("password=a#b").
QString withoutNote(const QString& line) {
    for (qsizetype i = 0; i < line.size(); ++i)
        if (line[i] == QLatin1Char('#') && (i == 0 || line[i - 1].isSpace())) return line.left(i);
    return line;
}

// True when "key=value" reads back as exactly this value.
bool writable(const QString& value) {
    return value == value.trimmed() && !value.contains(QLatin1Char('\n')) &&
           !value.contains(QLatin1Char('\r')) &&
           withoutNote(QLatin1Char('=') + value) == QLatin1Char('=') + value;
}

} // namespace

QString ServerSettings::describe() const {
    return QStringLiteral("%1@%2:%3/%4").arg(user, host).arg(port).arg(database);
}

ServerSettings readServerConf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw DbError(QStringLiteral("无法读取数据库服务器设置文件：%1（%2）").arg(path, file.errorString()));
    ServerSettings settings;
    settings.password = databasePassword();
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = withoutNote(lines[n]).trimmed();
        if (line.isEmpty()) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(qMax<qsizetype>(eq, 0)).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        const auto malformed = [&] {
            return DbError(QStringLiteral("数据库服务器设置文件 %1 第 %2 行无法识别：%3")
                               .arg(path)
                               .arg(n + 1)
                               .arg(lines[n].trimmed()));
        };
        if (eq <= 0) throw malformed();
        if (key == QLatin1String("host")) {
            settings.host = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            settings.port = value.toInt(&ok);
            if (!ok) throw malformed();
        } else if (key == QLatin1String("database")) {
            settings.database = value;
        } else if (key == QLatin1String("user")) {
            settings.user = value;
        } else if (key == QLatin1String("password")) {
            settings.password = value;
        } else {
            throw malformed();
        }
    }
    requireComplete(settings, path);
    return settings;
}

ServerSettings parseServerUrl(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("postgres") && scheme != QLatin1String("postgresql")))
        throw DbError(QStringLiteral("数据库服务器地址无效：%1").arg(text));
    ServerSettings settings;
    settings.host = url.host();
    settings.port = url.port(5432);
    settings.database = url.path().mid(1);
    settings.user = url.userName();
    settings.password = url.password().isEmpty() ? databasePassword() : url.password();
    requireComplete(settings, text);
    return settings;
}

void writeServerConf(const QString& path, const ServerSettings& s) {
    for (const QString& value : {s.host, s.database, s.user, s.password})
        if (!writable(value))
            throw DbError(
                QStringLiteral("无法写入数据库服务器设置文件：%1（设置值首尾有空格、含换行，或空格后跟 #）")
                    .arg(path));
    QString text = QStringLiteral("# 数据库服务器\nhost=%1\nport=%2\ndatabase=%3\nuser=%4\n")
                       .arg(s.host)
                       .arg(s.port)
                       .arg(s.database, s.user);
    if (s.password != databasePassword()) text += QStringLiteral("password=%1\n").arg(s.password);
    QSaveFile file(path);
    // It may hold the server's password: readable by its owner only.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
        file.write(text.toUtf8()) < 0 || !file.commit())
        throw DbError(QStringLiteral("无法写入数据库服务器设置文件：%1（%2）").arg(path, file.errorString()));
}

} // namespace sorrel
