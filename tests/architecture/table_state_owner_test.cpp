// A table's state is changed in one place only, where the moves a table may make are kept: a
// step that wrote the state itself would move tables the other steps never expect.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace {

TEST(TableStateOwner, OnlyTheTableStateMovesWriteATablesState) {
    const QString root = QStringLiteral(SORREL_SOURCE_DIR "/");
    const QRegularExpression writes(QStringLiteral("SET\\s*tabl_stat_code"));
    QStringList writers;
    for (const char* folder : {"common", "frontdesk", "backoffice", "tools", "waiter"}) {
        QDirIterator it(root + QLatin1String(folder), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) continue;
            if (writes.match(QString::fromUtf8(file.readAll())).hasMatch()) writers << path.mid(root.size());
        }
    }
    EXPECT_EQ(writers, QStringList{QStringLiteral("common/tables/table_state_moves.cpp")});
}

} // namespace
