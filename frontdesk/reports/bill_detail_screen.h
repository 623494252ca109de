// A settled bill in detail, opened from the bill, member or credit list: "基本信息",
// "结帐信息" with the payments and "点单明细" with the lines, one page at a time; "回退" goes
// back to the list it came from.
#pragma once

#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/reports/bill_detail.h"

#include <QWidget>
#include <utility>

class QButtonGroup;
class QLabel;
class QStackedWidget;

namespace sorrel::ui {
class ToolStrip;
}

namespace sorrel::reports {

class ReportGrid;

namespace detail_tool {
inline constexpr char kBack[] = "toolb_DetailBack";
inline constexpr char kHelp[] = "toolb_DetailHelp";
} // namespace detail_tool

class BillDetailScreen : public QWidget {
    Q_OBJECT
  public:
    enum Page { BasicInfo, Settlement, Lines };

    BillDetailScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Reads the bill and shows it on its basic page; false (nothing changed) when the history no
    // longer holds it.
    bool showBill(qint64 billNumber);
    void showPage(Page page);
    Page page() const;

    ui::ToolStrip* toolbar() const { return toolbar_; }
    // The value shown beside a caption of the first two pages ("帐单编号：").
    QString shownValue(const QString& label) const;
    ReportGrid* payments() const { return payments_; }
    ReportGrid* lines() const { return lines_; }

  signals:
    void back();

  private:
    QWidget* fieldsPage(const QList<DetailField>& fields, QWidget* above);

    const frontdesk::FrontDeskContext& context_;
    ui::ToolStrip* toolbar_;
    QButtonGroup* pages_;
    QStackedWidget* stack_;
    // Every caption's value label, with the field it shows.
    QList<std::pair<DetailField, QLabel*>> values_;
    ReportGrid* payments_;
    ReportGrid* lines_;
};

} // namespace sorrel::reports
