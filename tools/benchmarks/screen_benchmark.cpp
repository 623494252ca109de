// From the key to the screen: the cashier's path through the real front desk, offscreen, on the
// venue of 200 tables with a year of history (the one bench_venue measures its steps on). Each
// wait runs from the key event to the next screen painted with its data: the event handled, the
// events it posted delivered and the whole window painted once.
//
//   bench_screens [--quick] [--file] [--rounds N]
//
// Figures only, never pass/fail; each with the bare durable write of the same run beside it.
#include "common/local_time_zone.h"
#include "common/ui/text_grid.h"
#include "frontdesk/checkout/checkout_screen.h"
#include "frontdesk/ordering/ordering_screen.h"
#include "frontdesk/shell/main_window.h"
#include "frontdesk/shell/ordering_desk.h"
#include "frontdesk/shell/table_desk.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/register_screen.h"
#include "frontdesk/tables/work_screen.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_server.h"
#include "tools/benchmarks/bench_venue.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>

using namespace sorrel;
using namespace sorrel::frontdesk;

namespace {

struct Options {
    bool quick = false;
    bool fileOnly = false;
    int rounds = 50;
};

Options parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--quick")) {
            o.quick = true;
            o.rounds = 10;
        } else if (a == QLatin1String("--file")) {
            o.fileOnly = true;
        } else if (a == QLatin1String("--rounds") && i + 1 < argc) {
            o.rounds = std::max(1, QString::fromLocal8Bit(argv[++i]).toInt());
        } else {
            std::fprintf(stderr, "usage: bench_screens [--quick] [--file] [--rounds N]\n");
            std::exit(2);
        }
    }
    return o;
}

// The waits of one engine, by step, in milliseconds.
using Waits = std::map<std::string, std::vector<double>>;

// The path as the cashier keys it; the order of the table printed.
const char* const kSteps[] = {"window_paint_alone", "choose_free_table", "open_table",  "item_code_enter", "commit_order",
                              "back_to_board",     "choose_table", "enter_checkout", "settle",
                              "clear_table"};
// A key within a screen, or a change of screen.
bool changesScreen(const std::string& step) {
    return step != "item_code_enter" && step != "window_paint_alone";
}

class Desk {
  public:
    Desk(bench::Venue& venue, QTemporaryDir& dir) : venue_(venue) {
        window_ = std::make_unique<MainWindow>(venue.db(), venue.clock(), dir.path());
        window_->resize(1024, 768);
        if (!test::showActive(*window_)) throw std::runtime_error("the front desk's window did not show");
        auto* shifts = window_->findChild<QComboBox*>(QStringLiteral("cmb_shift"));
        shifts->setCurrentIndex(0);
        QTest::keyClicks(window_->findChild<QLineEdit*>(QStringLiteral("edt_operator")), QStringLiteral("01"));
        auto* password = window_->findChild<QLineEdit*>(QStringLiteral("edt_password"));
        QTest::keyClicks(password, QStringLiteral("1234"));
        QTest::keyClick(password, Qt::Key_Return);
        if (window_->board()->loginBoxShown())
            throw std::runtime_error("the login was refused: " + sink_.texts().join('\n').toStdString());
    }
    ~Desk() { test::closeShown(window_); }

    // One round of the path on a spare table.
    void round(Waits& waits) {
        const QString code = venue_.spareTable();
        TableDesk& desk = *window_->tableDesk();
        WorkScreen& work = *desk.workScreen();
        BoardScreen& board = *window_->board();

        // The yardstick of the screens: one paint of the board with no key before it.
        timed(waits, "window_paint_alone", board.graphicView(), [] {});
        find(code);
        timed(waits, "choose_free_table", desk.registerScreen(), [&] { doubleClick(code); });
        window_->findChild<QLineEdit*>(QStringLiteral("edt_GuestCount"))->setText(QStringLiteral("2"));
        timed(waits, "open_table", &work, [&] {
            QTest::keyClick(desk.registerScreen(), Qt::Key_Plus, Qt::KeypadModifier);
        });

        QTest::keyClick(work.orderLines(), Qt::Key_Plus, Qt::KeypadModifier);
        ordering::OrderingScreen* order = desk.orderingDesk()->screen();
        expect(order, "ordering");
        QTest::keyClicks(order->searchField(), QStringLiteral("gbjd"));
        timed(waits, "item_code_enter", order, [&] { QTest::keyClick(order->searchField(), Qt::Key_Return); });
        QTest::keyClick(order->quantityField(), Qt::Key_Return);
        sink_.answers = {true};
        timed(waits, "commit_order", &work, [&] {
            QTest::keyClick(order->searchField(), Qt::Key_Asterisk, Qt::KeypadModifier);
        });
        timed(waits, "back_to_board", board.graphicView(),
              [&] { QTest::keyClick(work.orderLines(), Qt::Key_Escape); });

        find(code);
        timed(waits, "choose_table", &work, [&] { doubleClick(code); });
        timed(waits, "enter_checkout", desk.checkoutScreen(), [&] {
            QTest::keyClick(work.orderLines(), Qt::Key_Asterisk, Qt::KeypadModifier);
        });
        auto* amount = window_->findChild<QLineEdit*>(QStringLiteral("edt_PayAmount"));
        QTest::keyClicks(amount, QStringLiteral("10000"));
        sink_.answers = {true};
        timed(waits, "settle", board.graphicView(),
              [&] { QTest::keyClick(amount, Qt::Key_Asterisk, Qt::KeypadModifier); });

        find(code);
        doubleClick(code);
        expect(&work, "the settled table's work screen");
        sink_.answers = {true};
        timed(waits, "clear_table", board.graphicView(), [&] {
            QTest::keyClick(work.orderLines(), Qt::Key_Minus, Qt::KeypadModifier);
        });
        sink_.shown.clear();
    }

  private:
    QWidget* current() { return window_->navigator().currentPanel(); }
    void expect(QWidget* screen, const char* what) {
        if (current() != screen)
            throw std::runtime_error(std::string("not at ") + what + ": " + sink_.texts().join('\n').toStdString());
    }
    void find(const QString& code) {
        BoardScreen& board = *window_->board();
        board.searchBox()->setFocus();
        board.searchBox()->clear();
        QTest::keyClicks(board.searchBox(), code);
    }
    void doubleClick(const QString& code) {
        const QRect cell = window_->board()->graphicView()->cellRect(code);
        if (!cell.isValid()) throw std::runtime_error("table " + code.toStdString() + " is not on the board");
        QTest::mouseDClick(window_->board()->graphicView()->cells(), Qt::LeftButton, {}, cell.center());
    }
    // From the key to `next` painted: the key's handlers, what they posted, one paint of the window.
    template <typename Key> void timed(Waits& waits, const char* step, QWidget* next, Key&& key) {
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        key();
        QCoreApplication::processEvents();
        window_->grab();
        waits[step].push_back(clock.nsecsElapsed() / 1e6);
        expect(next, step);
    }

    bench::Venue& venue_;
    test::ScriptedSink sink_;
    std::unique_ptr<MainWindow> window_;
};

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const double at = p * (v.size() - 1);
    const size_t lo = size_t(at);
    return lo + 1 < v.size() ? v[lo] + (v[lo + 1] - v[lo]) * (at - lo) : v[lo];
}

// One durable write, the yardstick of the run: BEGIN, one UPDATE, COMMIT.
std::vector<double> bareWrites(Database& db, int count) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer clock;
        clock.start();
        db.begin();
        db.exec(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn WHERE 1 = 1"));
        db.commit();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    return ms;
}

void report(const char* engine, const Waits& waits, const std::vector<double>& writes) {
    const double write = percentile(writes, 0.5);
    std::printf("%-20s %-7s %10.3f %10.3f %8.1f %8.1f  %s\n", "bare_durable_write", engine, write,
                percentile(writes, 0.95), 1.0, percentile(writes, 0.95) / write, "-");
    for (const char* step : kSteps) {
        const auto it = waits.find(step);
        if (it == waits.end() || it->second.empty()) continue;
        const double median = percentile(it->second, 0.5), p95 = percentile(it->second, 0.95);
        const bool screen = changesScreen(step);
        const double target = screen ? 50 : 16;
        std::printf("%-20s %-7s %10.3f %10.3f %8.1f %8.1f  p95 < %.0f ms%s\n", step, engine, median, p95,
                    median / write, p95 / write, target,
                    std::string(engine) == "file" ? (p95 < target ? ": met" : ": MISSED") : "");
    }
}

void measure(const char* engine, bench::Venue& venue, const Options& options) {
    venue.open();
    QTemporaryDir dir;
    Desk desk(venue, dir);
    Waits waits;
    desk.round(waits); // the first round fills the caches and the statements
    waits.clear();
    for (int r = 0; r < options.rounds; ++r)
        desk.round(waits);
    report(engine, waits, bareWrites(venue.db(), 100));
}

} // namespace

int main(int argc, char** argv) {
    nameLocalTimeZone();
    const Options options = parseOptions(argc, argv);
    test::screenApplication();
    const bench::Progress told = [](const QString& what) {
        std::fprintf(stderr, "%s\n", what.toLocal8Bit().constData());
    };
    bench::VenueSize size;
    if (options.quick) size.historyDays = 30;
    // The server's copy is made before either venue's day begins, as bench_venue makes it.
    std::unique_ptr<bench::Venue> file = bench::Venue::yearOld(size, told);
    std::unique_ptr<bench::Venue> server;
    if (!options.fileOnly && test::serverInstalled()) server = bench::Venue::onServer(*file, told);
    std::printf("%-20s %-7s %10s %10s %8s %8s  %s\n", "step", "engine", "median ms", "p95 ms", "med/wr",
                "p95/wr", "target");
    measure("file", *file, options);
    if (server) measure("server", *server, options);
    return 0;
}
