// The dialog in which a workstation names a printer, among the system's printers, for each
// output point of the venue.
#pragma once

#include "common/db/database.h"
#include "frontdesk/ordering/output_printers.h"

#include <QDialog>

class QComboBox;

namespace sorrel::ordering {

class OutputPrinterDialog : public QDialog {
  public:
    OutputPrinterDialog(Database& db, const OutputPrinters& current, const QStringList& systemPrinters,
                        QWidget* parent);
    OutputPrinters chosen() const;

  private:
    QList<std::pair<QString, QComboBox*>> points_;
};

} // namespace sorrel::ordering
