// The reports of the board's "报表" menu: the analysis and query screens, opened from their menu
// entries (those with a permission code only when the operator's level allows it), each
// returning to the board by "回退".
#pragma once

#include "frontdesk/context/front_desk_context.h"

#include <QList>
#include <QObject>

class QMenu;

namespace sorrel::tables {
class BoardScreen;
}
namespace sorrel::reports {
class BillDetailScreen;
class BillListScreen;
class ItemAnalysisScreen;
class LineQueryScreen;
class OperatorAnalysisScreen;
class PerformanceAnalysisScreen;
class ReportScreen;
class SalesAnalysisScreen;
class TableAnalysisScreen;
enum class BillListKind;
} // namespace sorrel::reports

namespace sorrel::frontdesk {

inline const QString kSalesReportPermission = QStringLiteral("CF");
inline const QString kPerformanceReportPermission = QStringLiteral("SF");

class ReportsDesk : public QObject {
    Q_OBJECT
  public:
    // Appends the report entries to `menu` (the board's "报表" drop-down) after what it holds.
    // Its entries go into `menu` before the menu's last entry (the database reset).
    ReportsDesk(const FrontDeskContext& context, tables::BoardScreen* board, QMenu* menu, QObject* parent);

    void openSalesAnalysis();
    void openTableAnalysis();
    void openItemAnalysis();
    void openOperatorAnalysis();
    void openPerformanceAnalysis();
    void openBillQuery();
    void openLineQuery();
    void openMemberQuery();
    void openCreditQuery();

    reports::SalesAnalysisScreen* salesAnalysis() const { return sales_; }
    reports::TableAnalysisScreen* tableAnalysis() const { return table_; }
    reports::ItemAnalysisScreen* itemAnalysis() const { return items_; }
    reports::OperatorAnalysisScreen* operatorAnalysis() const { return operators_; }
    reports::PerformanceAnalysisScreen* performanceAnalysis() const { return performance_; }

  private:
    struct MenuEntry {
        QString caption;
        void (ReportsDesk::*open)();
    };
    static QList<MenuEntry> menuEntries();
    // Hides the screen in the host until it is opened and takes it back to the board on "回退".
    void adopt(reports::ReportScreen* screen);
    void backToBoard();

    // The query screens, each made when first opened; the bill detail goes back to its list.
    void openBillList(reports::BillListKind kind);
    void showDetail(reports::BillListScreen* list, qint64 billNumber);
    QList<reports::BillListScreen*> billLists_;
    reports::LineQueryScreen* lineQuery_ = nullptr;
    reports::BillDetailScreen* detail_ = nullptr;
    reports::BillListScreen* detailFrom_ = nullptr;

    const FrontDeskContext& context_;
    tables::BoardScreen* board_;
    reports::SalesAnalysisScreen* sales_;
    reports::TableAnalysisScreen* table_;
    reports::ItemAnalysisScreen* items_;
    reports::OperatorAnalysisScreen* operators_;
    reports::PerformanceAnalysisScreen* performance_;
};

} // namespace sorrel::frontdesk
