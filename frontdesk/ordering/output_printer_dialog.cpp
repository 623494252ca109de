#include "frontdesk/ordering/output_printer_dialog.h"

#include "common/ui/guard.h"
#include "frontdesk/ordering/order_menu.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace sorrel::ordering {

OutputPrinterDialog::OutputPrinterDialog(Database& db, const OutputPrinters& current,
                                         const QStringList& systemPrinters, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("dlg_OutputPrinters"));
    setWindowTitle(QStringLiteral("出品打印机"));
    auto* form = new QFormLayout(this);
    for (const MenuEntry& entry : loadOutputPoints(db)) {
        const QString& point = entry.code;
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("cmb_Printer_") + point);
        box->addItem(QStringLiteral("（预览）"), QString());
        QStringList names = systemPrinters;
        const QString named = current.printerFor(point);
        // A printer named earlier that this machine no longer has stays visible, to be changed.
        if (!named.isEmpty() && !names.contains(named)) names.append(named);
        for (const QString& name : names)
            box->addItem(name, name);
        box->setCurrentIndex(std::max(0, box->findData(named)));
        form->addRow(point + QLatin1Char(' ') + entry.name, box);
        points_.append({point, box});
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    ui::connectGuarded(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    ui::connectGuarded(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

OutputPrinters OutputPrinterDialog::chosen() const {
    OutputPrinters printers;
    for (const auto& [point, box] : points_)
        printers.setPrinter(point, box->currentData().toString());
    return printers;
}

} // namespace sorrel::ordering
