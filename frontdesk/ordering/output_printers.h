// The printer this workstation sends each output point's tickets to: drinks to the bar, dishes
// to the kitchen. Kept in a small settings file beside the programs, since every workstation has
// its own printers; never in the shared settings row.
#pragma once

#include <QMap>
#include <QString>

namespace sorrel::ordering {

class OutputPrinters {
  public:
    // The file in the program folder.
    static QString fileIn(const QString& programDir);
    // What the file names; none when it does not exist.
    static OutputPrinters load(const QString& file);
    // False when the file cannot be written.
    bool save(const QString& file) const;

    // The printer of output point `point`; empty when none is named.
    QString printerFor(const QString& point) const { return byPoint_.value(point); }
    // An empty name takes the point's printer away.
    void setPrinter(const QString& point, const QString& printer);
    const QMap<QString, QString>& byPoint() const { return byPoint_; }

  private:
    QMap<QString, QString> byPoint_;
};

} // namespace sorrel::ordering
