// The page a waiter's phone loads on the venue's wireless network: everything it is served, the
// page, its script, its style and the board's state pictures, stays within 200 KB.
#include "tests/waiter/waiter_fixture.h"

namespace sorrel::test {
namespace {

using WaiterPageTest = WaiterTest;

constexpr size_t kMostBytes = 200 * 1024;

TEST_P(WaiterPageTest, ThePageAndItsFilesStayWithin200KB) {
    Phone p = phone();
    QMap<QString, waiter::PageFile> files = waiter::pageFiles();
    const QMap<QString, waiter::PageFile> pictures = waiter::statePictures();
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
        files.insert(it.key(), it.value());
    files.remove(QStringLiteral("/index.html")); // the same page as "/"
    ASSERT_GE(files.size(), 4);
    size_t served = 0;
    for (const QString& path : files.keys()) {
        const Answer a = p.get(path.toStdString());
        EXPECT_EQ(a.status, 200) << path.toStdString();
        served += a.raw.size();
    }
    EXPECT_LE(served, kMostBytes) << served << " bytes";
}

SORREL_ON_EVERY_ENGINE(WaiterPageTest);

} // namespace
} // namespace sorrel::test
