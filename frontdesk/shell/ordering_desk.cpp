#include "frontdesk/shell/ordering_desk.h"

#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/print/print_document.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/ordering/kitchen_ticket.h"
#include "frontdesk/ordering/ordering_screen.h"
#include "frontdesk/ordering/output_printer_dialog.h"
#include "frontdesk/tables/work_screen.h"

#include <QMenu>
#include <QPrinterInfo>
#include <QToolButton>

namespace sorrel::frontdesk {

using namespace ordering;
namespace work_tool = tables::work_tool;

OrderingDesk::OrderingDesk(const FrontDeskContext& context, WorkScreen* work, QObject* parent)
    : QObject(parent), context_(context), work_(work) {
    screen_ = new OrderingScreen(context_, context_.host);
    screen_->hide();
    const auto order = [this] { screen_->start(work_->work()); };
    ui::connectGuarded(work_->toolbar()->button(work_tool::kOrder), &QToolButton::clicked, this, order);
    context_.keyboard.bind(work_, Qt::Key_Plus, order, ui::KeyOrigin::Keypad);
    ui::connectGuarded(screen_, &OrderingScreen::returned, work_, &WorkScreen::present);

    QToolButton* kitchen = work_->toolbar()->button(work_tool::kKitchen);
    auto* menu = new QMenu(kitchen);
    menu->addAction(QStringLiteral("出品打印机..."), this, &OrderingDesk::choosePrinters);
    kitchen->setMenu(menu);
    kitchen->setPopupMode(QToolButton::MenuButtonPopup);
    ui::connectGuarded(kitchen, &QToolButton::clicked, this, &OrderingDesk::printKitchenTickets);

    ui::connectGuarded(work_->orderLines(), &QTableWidget::cellDoubleClicked, this,
                       [this](int row, int column) {
                           const RecordSet& lines = work_->work().lines;
                           if (column != 0 || row < 0 || row >= lines.rowCount()) return;
                           toggleSent(context_.db, int(lines.integer(row, "tabl_cons_ID")));
                           work_->reloadLines();
                       });
}

QString OrderingDesk::printersFile() const {
    return OutputPrinters::fileIn(context_.programDir);
}

void OrderingDesk::printKitchenTickets() {
    const tables::WorkTable& work = work_->work();
    const QList<KitchenTicket> tickets =
        kitchenTickets(context_.db, work.guest.tabl_gues_auto_recn, {work.table.code, work.table.name},
                       OutputPrinters::load(printersFile()), context_.clock);
    const QStringList failures = sendKitchenTickets(
        context_.db, work.guest.tabl_gues_auto_recn, tickets, [this](const KitchenTicket& t) {
            const document::PageFormat roll = document::PageFormat::receiptRoll80();
            const ui::print::PrintResult result = ui::print::printDocument(
                t.document,
                t.printer.isEmpty() ? ui::print::PrintTarget::preview(roll)
                                    : ui::print::PrintTarget::printer(t.printer, roll),
                work_);
            // A preview closed unprinted sent nothing: its lines stay unsent.
            return result.closedUnprinted ? kTicketNotPrintedMessage : result.failure;
        });
    for (const QString& failure : failures)
        messages::information(failure);
    work_->reloadLines();
}

void OrderingDesk::choosePrinters() {
    OutputPrinterDialog dialog(context_.db, OutputPrinters::load(printersFile()),
                               QPrinterInfo::availablePrinterNames(), work_);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!dialog.chosen().save(printersFile()))
        messages::information(QStringLiteral("无法保存出品打印机设置：%1").arg(printersFile()));
}

} // namespace sorrel::frontdesk
