// A second workstation for the tests: draws COUNT bill numbers from TARGET, each in its own
// transaction that also writes the guest record of table TABLE (as an opening does, holding the
// transaction a moment, as the screen posts its rows), and prints every number it got on its own line. With
// START_FILE it begins only once that file exists, so several copies start together. Exit code 1 with a
// message when anything fails.
#include "common/bill_number.h"
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/installation/target.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    bool countOk = false;
    const int count = arguments.size() == 4 || arguments.size() == 5 ? arguments.at(2).toInt(&countOk) : 0;
    if (!countOk || count < 0) {
        err << "usage: sorrel-draw-bill-numbers TARGET COUNT TABLE [START_FILE]\n";
        return 2;
    }
    for (QElapsedTimer waited; arguments.size() == 5 && !QFileInfo::exists(arguments.at(4));) {
        if (waited.isValid() && waited.elapsed() > 60000) {
            err << "start file never appeared\n";
            return 1;
        }
        if (!waited.isValid()) waited.start();
        QThread::msleep(1);
    }
    try {
        std::unique_ptr<sorrel::Database> db =
            sorrel::openTarget(arguments.at(1), sorrel::TargetUse::OpenExisting);
        for (int i = 0; i < count; ++i) {
            sorrel::Transaction tx(*db);
            const int number = sorrel::drawBillNumber(*db);
            db->exec(
                QStringLiteral("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, tabl_gues_use) "
                               "VALUES (?, ?, 1)"),
                {number, arguments.at(3)});
            QThread::msleep(1);
            tx.commit();
            out << number << '\n';
            QThread::msleep(1); // the next party does not arrive the same instant
        }
    } catch (const std::exception& e) {
        out.flush();
        err << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    return 0;
}
