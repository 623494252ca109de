// The query screens of the "报表" menu: the bill, member and credit lists, from which a bill
// opens in detail ("明细查询" or a double-click), and the line query.
#pragma once

#include "frontdesk/reports/query_reports.h"
#include "frontdesk/reports/report_screen.h"

class QCheckBox;
class QLineEdit;

namespace sorrel::reports {

class ReportGrid;

namespace query_tool {
inline constexpr char kDetail[] = "toolb_BillDetail";
}

// "帐单查询报表", "会员查询报表" or "挂帐查询报表", by the kind of list.
class BillListScreen : public ReportScreen {
    Q_OBJECT
  public:
    BillListScreen(const frontdesk::FrontDeskContext& context, BillListKind kind, QWidget* parent);

    BillListKind kind() const { return kind_; }
    ReportGrid* grid() const { return grid_; }
    // The bills as the filters stand now.
    BillSelection selection() const;

    document::DocumentStream printedReport() override;
    QVector<exporting::Sheet> exportSheets() override;

  signals:
    // The operator asked for a bill in detail (never on an empty list).
    void detailRequested(qint64 billNumber);

  protected:
    void resetFilters() override;
    void refresh() override;

  private:
    void openDetail();
    void fillFilterValues();

    BillListKind kind_;
    ReportGrid* grid_;
    // The bill query's second filter.
    QCheckBox* filterOn_ = nullptr;
    QComboBox* filterBy_ = nullptr;
    QComboBox* filterValues_ = nullptr;
    // The member query's card, the credit query's guests.
    QLineEdit* card_ = nullptr;
    QComboBox* guests_ = nullptr;
};

// "点单查询报表": the order lines of the dates, or of one bill. Its "预览/打印" does nothing: the
// lines have no printed layout (导出PDF writes the grid).
class LineQueryScreen : public ReportScreen {
    Q_OBJECT
  public:
    LineQueryScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    ReportGrid* grid() const { return grid_; }
    QLineEdit* billNumber() const { return billNumber_; }

    document::DocumentStream printedReport() override;
    QVector<exporting::Sheet> exportSheets() override;

  protected:
    void resetFilters() override;
    void refresh() override;

  private:
    ReportGrid* grid_;
    QLineEdit* billNumber_;
};

} // namespace sorrel::reports
