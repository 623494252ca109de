#include "common/ui/print/print_font.h"

#include <QFontDatabase>
#include <QStringList>
#include <QtDebug>

namespace sorrel::ui::print {

namespace {

QString chooseFamily() {
    const QStringList preferred = {
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Noto Sans SC"),        QStringLiteral("Source Han Sans SC"),
        QStringLiteral("Microsoft YaHei"),     QStringLiteral("SimHei"),
    };
    QStringList chinese;
    // Bitmap fonts cannot be scaled to the printer nor embedded in a PDF.
    for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
        if (QFontDatabase::isSmoothlyScalable(family)) chinese.append(family);
    for (const QString& wanted : preferred)
        for (const QString& family : chinese)
            if (family.compare(wanted, Qt::CaseInsensitive) == 0) return family;
    if (!chinese.isEmpty()) return chinese.first();
    qWarning("No scalable font with Chinese glyphs is installed: printed Chinese text will be missing.");
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

QString printFontFamily() {
    static const QString family = chooseFamily();
    return family;
}

} // namespace sorrel::ui::print
