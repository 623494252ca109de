#include "backoffice/data/log_panel.h"

#include "backoffice/data/system_log_query.h"
#include "common/db/errors.h"
#include "common/messages.h"
#include "common/ui/date_picker.h"
#include "common/ui/guard.h"
#include "common/ui/text_grid.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

namespace sorrel::data {

LogPanel::LogPanel(const panels::BackOfficeContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Log"));
    from_ = ui::datePicker(QStringLiteral("dtp_LogFrom"), this);
    to_ = ui::datePicker(QStringLiteral("dtp_LogTo"), this);
    grid_ = new ui::TextGrid(
        QStringLiteral("dbg_Log"),
        {QStringLiteral("操作员"), QStringLiteral("操作时间"), QStringLiteral("操作过程")}, this);
    grid_->setColumnWidth(0, 100);
    grid_->setColumnWidth(1, 150);
    grid_->horizontalHeader()->setStretchLastSection(true);

    auto* dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("操作日期："), this));
    dates->addWidget(from_);
    dates->addWidget(new QLabel(QStringLiteral("到"), this));
    dates->addWidget(to_);
    dates->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->addLayout(dates);
    column->addWidget(grid_, 1);

    for (QDateEdit* date : {from_, to_})
        ui::connectGuarded(date, &QDateEdit::dateChanged, this, [this] {
            if (!opening_) query();
        });
}

void LogPanel::open() {
    opening_ = true;
    from_->setDate(context_.clock.today());
    to_->setDate(context_.clock.today());
    opening_ = false;
    query();
}

void LogPanel::query() {
    QList<LogEntry> entries;
    try {
        entries = loadSystemLog(context_.db, from_->date(), to_->date());
    } catch (const StepRefused& refused) {
        grid_->setRows({});
        messages::information(refused.text());
        return;
    }
    QList<QStringList> rows;
    rows.reserve(entries.size());
    for (const LogEntry& e : entries)
        rows << QStringList{e.operatorName, e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), e.action};
    grid_->setRows(rows, rows.isEmpty() ? -1 : 0);
}

} // namespace sorrel::data
