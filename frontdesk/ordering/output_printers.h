// The printer this workstation sends each output point's tickets to: drinks to the bar, dishes
// to the kitchen. Kept in a small settings file beside the programs, since every workstation has
// its own printers; never in the shared settings row. The file lives in data/, which is writable
// wherever the programs are installed (the program folder itself may not be).
#pragma once

#include <QMap>
#include <QString>

namespace sorrel::ordering {

class OutputPrinters {
  public:
    // The file in the program folder's data/.
    static QString fileIn(const QString& programDir);
    // What the file names; none when it does not exist. A workstation set up before the file
    // moved into data/ still finds its printers in the old file beside the programs.
    static OutputPrinters load(const QString& file);
    // False when the file cannot be written. Its folder is made when missing.
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
