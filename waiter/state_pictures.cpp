#include "waiter/state_pictures.h"

#include "frontdesk/tables/state_icons.h"

#include <QBuffer>

namespace sorrel::waiter {

QMap<QString, PageFile> statePictures() {
    QMap<QString, PageFile> files;
    for (int state = 1; state <= 6; ++state) {
        QByteArray png;
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        tables::stateIcon(QString::number(state)).save(&out, "PNG");
        files.insert(QStringLiteral("/state-%1.png").arg(state), {png, QStringLiteral("image/png")});
    }
    return files;
}

} // namespace sorrel::waiter
