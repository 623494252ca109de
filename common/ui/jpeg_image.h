// JPEG pictures (the product logo on the splash and the login screens) decoded with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>

namespace sorrel::ui {

// A null image when the bytes are not a JPEG picture libjpeg can read.
QImage decodeJpeg(const QByteArray& bytes);

// The product logo shipped inside the program.
QImage productLogo();

} // namespace sorrel::ui
