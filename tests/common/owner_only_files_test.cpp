// Whatever holds the venue's data or the server's password is made readable by its owner only:
// the database file and the engine's files beside it, and the server connection file.
#include "common/db/connection.h"
#include "common/db/database_file.h"
#include "common/db/server_settings.h"
#include "common/db/sqlite_database.h"
#include "common/installation/new_database.h"
#include "common/installation/venue_opening.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace sorrel;

namespace {

constexpr QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                       QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

TEST(OwnerOnlyFiles, DatabaseFilesAndServerConnectionFileAreReadableByTheirOwnerOnly) {
    QTemporaryDir dir;
    const FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(8, 0)));
    const QString made = dir.filePath("made.mdb");
    installation::makeNewDatabase(
        made, [&](Database& db) { setup::createDatabase(db, setup::Contents::Presets, clock); });
    const QString programDir = dir.filePath("program");
    installation::createVenueDatabase(programDir, setup::Contents::Presets, clock);
    // An older connection file that anyone could read is written anew for its owner alone.
    const QString conf = dir.filePath("server.conf");
    QFile(conf).open(QIODevice::WriteOnly);
    QFile::setPermissions(conf, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    writeServerConf(conf, ServerSettings{"db", 5432, "venue", "desk", "secret"});

    SqliteDatabase working(made, databasePassword());
    working.exec("UPDATE SetupPay SET user_name = '悦来酒家'");
    QStringList files{made, defaultDatabaseFile(programDir), conf};
    for (const QString& companion : companionFiles(made))
        if (QFileInfo::exists(companion)) files << companion;
    EXPECT_EQ(files.size(), 5) << "the -wal and -shm of an open database";
    for (const QString& file : files) {
        EXPECT_TRUE(QFile::permissions(file) & QFile::ReadOwner) << file.toStdString();
        EXPECT_FALSE(QFile::permissions(file) & kOthers) << file.toStdString();
    }
}

} // namespace
