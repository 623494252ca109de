// The panel of "日志查询" (pnl_Log): the system log of the days between its two date boxes
// (today when it opens), newest first, read again whenever a date changes.
#pragma once

#include "backoffice/panels/back_office_context.h"

#include <QWidget>

class QDateEdit;

namespace sorrel::ui {
class TextGrid;
}

namespace sorrel::data {

class LogPanel : public QWidget {
    Q_OBJECT
  public:
    LogPanel(const panels::BackOfficeContext& context, QWidget* parent);

    // Both dates today, the day's log shown.
    void open();
    // The log of the chosen days; dates the wrong way round are told and nothing is listed.
    void query();

    QDateEdit* fromDate() const { return from_; }
    QDateEdit* toDate() const { return to_; }
    ui::TextGrid* grid() const { return grid_; }

  private:
    const panels::BackOfficeContext& context_;
    QDateEdit* from_;
    QDateEdit* to_;
    ui::TextGrid* grid_;
    bool opening_ = false;
};

} // namespace sorrel::data
