// A waiter's whole order in a real browser: headless Chromium, sized as a phone, driven through
// the page by Selenium; then the front desk's logic reads what reached the bill and the stock.
// Skipped where Chromium, its driver or Selenium is not installed.
#include "frontdesk/tables/table_work.h"
#include "tests/waiter/waiter_fixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <iostream>

namespace sorrel::test {
namespace {

using WaiterBrowserTest = WaiterTest;

bool seleniumInstalled() {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import selenium")});
    return python.waitForFinished(30000) && python.exitStatus() == QProcess::NormalExit &&
           python.exitCode() == 0;
}

TEST_P(WaiterBrowserTest, OrderThreeItemsWithANoteOnAPhone) {
    if (!QFileInfo::exists(QStringLiteral("/usr/bin/chromium")) ||
        !QFileInfo::exists(QStringLiteral("/usr/bin/chromedriver")) || !seleniumInstalled())
        GTEST_SKIP() << "chromium, chromium-driver or python3-selenium is not installed";
    const QString shots = qEnvironmentVariableIsEmpty("SORREL_SCREENSHOT_DIR")
                              ? tickets.path()
                              : qEnvironmentVariable("SORREL_SCREENSHOT_DIR");
    const double cola = stockOf("202001");

    QProcess browser;
    browser.setProcessChannelMode(QProcess::MergedChannels);
    browser.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral(SORREL_SOURCE_DIR "/tests/waiter/phone_in_browser.py"),
                   QStringLiteral("http://127.0.0.1:%1/").arg(server->port()), QStringLiteral("A11"), shots});
    ASSERT_TRUE(browser.waitForFinished(180000));
    const QString said = QString::fromUtf8(browser.readAll());
    ASSERT_EQ(browser.exitCode(), 0) << said.toStdString();

    const tables::WorkTable work = tables::settledTable(db(), QStringLiteral("A11"));
    EXPECT_EQ(work.guest.tabl_gues_coun, 3);
    ASSERT_EQ(work.lines.rowCount(), 3);
    QStringList names, notes;
    for (int i = 0; i < work.lines.rowCount(); ++i) {
        names << work.lines.text(i, "item_name");
        notes << work.lines.text(i, "cons_narr_name");
    }
    EXPECT_EQ(names, (QStringList{"宫保鸡丁", "可口可乐", "扬州炒饭"}));
    EXPECT_EQ(notes, (QStringList{"少辣", "", ""}));
    EXPECT_DOUBLE_EQ(work.guest.tabl_gues_dish + work.guest.tabl_gues_spec, 48 + 8 + 22);
    EXPECT_EQ(stockOf("202001"), cola - 1);
    EXPECT_TRUE(QFileInfo::exists(shots + QStringLiteral("/waiter-order.png")));
    // The kitchen's ticket went to its target, a PDF here (the server ends once it is printed).
    server.reset();
    EXPECT_FALSE(ticketFiles().isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ? AND tabl_cons_tran = 0",
                    {work.guest.tabl_gues_auto_recn}),
              0);
    // The page's first paint, for the figures.
    std::cout << said.toStdString();
}

SORREL_ON_EVERY_ENGINE(WaiterBrowserTest);

} // namespace
} // namespace sorrel::test
