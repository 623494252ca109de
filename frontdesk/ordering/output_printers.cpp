#include "frontdesk/ordering/output_printers.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace sorrel::ordering {

namespace {
const QString kGroup = QStringLiteral("output_points");
}

QString OutputPrinters::fileIn(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("output_printers.ini"));
}

OutputPrinters OutputPrinters::load(const QString& file) {
    OutputPrinters printers;
    if (!QFileInfo::exists(file)) return printers;
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(kGroup);
    for (const QString& point : settings.childKeys())
        printers.setPrinter(point, settings.value(point).toString());
    return printers;
}

bool OutputPrinters::save(const QString& file) const {
    QSettings settings(file, QSettings::IniFormat);
    settings.remove(kGroup);
    settings.beginGroup(kGroup);
    for (auto it = byPoint_.cbegin(); it != byPoint_.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void OutputPrinters::setPrinter(const QString& point, const QString& printer) {
    if (printer.trimmed().isEmpty())
        byPoint_.remove(point);
    else
        byPoint_.insert(point, printer.trimmed());
}

} // namespace sorrel::ordering
