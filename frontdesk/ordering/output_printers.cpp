#include "frontdesk/ordering/output_printers.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace sorrel::ordering {

namespace {
const QString kGroup = QStringLiteral("output_points");
const QString kFileName = QStringLiteral("output_printers.ini");

// Where the file was kept before it moved into data/: beside the programs.
QString earlierFile(const QString& file) {
    QDir folder = QFileInfo(file).absoluteDir();
    if (folder.dirName() != QStringLiteral("data") || !folder.cdUp()) return QString();
    return folder.filePath(kFileName);
}
} // namespace

QString OutputPrinters::fileIn(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("data/") + kFileName);
}

OutputPrinters OutputPrinters::load(const QString& file) {
    OutputPrinters printers;
    QString source = file;
    if (!QFileInfo::exists(source)) source = earlierFile(file);
    if (source.isEmpty() || !QFileInfo::exists(source)) return printers;
    QSettings settings(source, QSettings::IniFormat);
    settings.beginGroup(kGroup);
    for (const QString& point : settings.childKeys())
        printers.setPrinter(point, settings.value(point).toString());
    return printers;
}

bool OutputPrinters::save(const QString& file) const {
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
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
