// A workstation caught in the middle of its save: opens TARGET, begins a transaction that takes
// the database's writing lock, prints "HELD" and keeps it until its input closes (or it is stopped
// or killed, which is what the tests do to it). With BOUND_MS its session takes that bound, so the
// server frees the lock of a silent session after twice as long. Exit code 1 with a message when
// anything fails.
#include "common/db/lock_wait.h"
#include "common/installation/target.h"

#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
    using namespace sorrel;
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2 && arguments.size() != 3) {
        std::fprintf(stderr, "usage: sorrel-hold-writing-lock TARGET [BOUND_MS]\n");
        return 2;
    }
    if (arguments.size() == 3) lock_wait::setBoundMs(arguments.at(2).toInt());
    try {
        const std::unique_ptr<Database> db = openTarget(arguments.at(1), TargetUse::OpenExisting);
        db->begin();
        // The server takes the lock with the transaction's first statement.
        db->exec(QStringLiteral("UPDATE TableList SET tabl_name = tabl_name WHERE tabl_code = ?"),
                 {QStringLiteral("none")});
        std::printf("HELD\n");
        std::fflush(stdout);
        std::string line;
        while (std::getline(std::cin, line)) {
        }
        db->commit();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
