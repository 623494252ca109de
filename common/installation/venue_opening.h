// A program's start-up on the venue's database (data/VozezOzarev.mdb beside it, or the server
// that data/server.conf names), checked against the schema before any screen reads it. When it
// is missing or cannot be used the staff are told what is wrong, naming the file or the server;
// a new database is offered only where that loses nothing, and nothing is written before they
// agree. Both programs start this way; each passes its own name for the messages.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/installation/setup.h"

#include <functional>
#include <memory>

namespace sorrel::installation {

struct StartingProgram {
    QString dir;  // the executable's folder: data/ beside it holds the database or server.conf
    QString name; // the program as its messages name it: "前台系统", "后台系统"
};

// What start-up finds where the program looks for its database. Looking writes nothing: the file
// is read through a read-only connection before it is opened for work.
struct Finding {
    std::unique_ptr<Database> db; // open for work, with every table, column and view there
    QString problem;              // otherwise what is wrong, for the staff
    bool newLosesNothing = false; // a new database may take its place
    QStringList upgrade;          // an older database open for work: what its upgrade makes
};
Finding findVenueDatabase(const StartingProgram& program);

struct NewDatabase {
    std::unique_ptr<Database> db;
    QString setAside; // where the file that stood in the way now is; empty if none
};

// Makes a new database where the programs in `programDir` look for one: the file, or the tables
// on the server. A file (or a -wal) already there is never overwritten: it is renamed
// "….unreadable-<time>" first. Throws DbError when it cannot be made; nothing half-made is left.
NewDatabase createVenueDatabase(const QString& programDir, setup::Contents contents, const Clock& clock);

// The whole start-up conversation: the database open for work, or nullptr when the program
// must end (the staff were told why). `beforeMessage` runs before the first message is shown.
std::unique_ptr<Database> openVenueDatabase(const StartingProgram& program, const Clock& clock,
                                            const std::function<void()>& beforeMessage = {});

} // namespace sorrel::installation
