// The logo shipped in the programs decodes, and bytes that are not a whole JPEG picture give
// an empty picture instead of ending the program.
#include "common/ui/jpeg_image.h"

#include <QFile>
#include <gtest/gtest.h>

using sorrel::ui::decodeJpeg;

namespace {

QByteArray logoBytes() {
    QFile file(QStringLiteral(":/sorrel/sorrel_logo.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(JpegImageTest, ShippedLogoDecodesToItsFullPicture) {
    const QImage logo = sorrel::ui::productLogo();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(96, 96));
    // The corner is the white of the picture's background, not black from a failed decode.
    EXPECT_GT(qGray(logo.pixel(1, 1)), 230);
}

TEST(JpegImageTest, DamagedBytesNeverCrash) {
    const QByteArray logo = logoBytes();
    ASSERT_FALSE(logo.isEmpty());
    QByteArray scrambledHeader = logo;
    for (int i = 2; i < 40; ++i)
        scrambledHeader[i] = char(0x5a);
    const QList<QByteArray> damaged = {QByteArray(), QByteArray("not a picture"), QByteArray(1024, '\xff'),
                                       scrambledHeader, logo.left(logo.size() / 2)};
    for (const QByteArray& bytes : damaged) {
        const QImage image = decodeJpeg(bytes);
        if (!image.isNull()) {
            EXPECT_EQ(image.size(), QSize(96, 96)); // a cut-off picture keeps its size
        }
    }
    EXPECT_TRUE(decodeJpeg(QByteArray("not a picture")).isNull());
}

} // namespace
