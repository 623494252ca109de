#include "common/ui/jpeg_image.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace sorrel::ui {

namespace {

// libjpeg reports a fatal error by calling error_exit; jump back out instead of exiting.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

} // namespace

QImage decodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onJpegError;
    // Nothing with a destructor may live between setjmp and a longjmp back to it.
    QImage* result = new QImage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        delete result;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *result = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW line = result->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &line, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage image = std::move(*result);
    delete result;
    return image;
}

QImage productLogo() {
    QFile file(QStringLiteral(":/sorrel/sorrel_logo.jpg"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return decodeJpeg(file.readAll());
}

} // namespace sorrel::ui
