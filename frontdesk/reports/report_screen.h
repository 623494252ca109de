// The screen every report of the front desk stands on: the toolbar ("重新统计" or "重新查询",
// "预览/打印", "导出CSV", "导出Excel", "导出PDF", "回退", "帮助 /信息" and a report's own
// tools), the heading, the start and end dates (today when the screen opens) with the report's
// filters beside them, and the report's grids below. Opening any report empties the filter
// lists of every report, so no earlier filter value survives.
#pragma once

#include "common/export/sheet.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/reports/report_frame.h"

#include <QStackedWidget>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QLabel;
class QToolButton;
class QVBoxLayout;

namespace sorrel::ui::print {
class DocumentView;
}

namespace sorrel::reports {

namespace report_tool {
inline constexpr char kRequery[] = "toolb_ReportRequery";
inline constexpr char kPrint[] = "toolb_ReportPrint";
inline constexpr char kCsv[] = "toolb_ReportCsv";
inline constexpr char kExcel[] = "toolb_ReportExcel";
inline constexpr char kPdf[] = "toolb_ReportPdf";
inline constexpr char kBack[] = "toolb_ReportBack";
inline constexpr char kHelp[] = "toolb_ReportHelp";
} // namespace report_tool

inline const QString kRecountCaption = QStringLiteral("重新统计");
inline const QString kRequeryCaption = QStringLiteral("重新查询");

class ReportScreen : public QWidget {
    Q_OBJECT
  public:
    struct Setup {
        QString objectName;
        QString heading;
        QString requeryCaption = kRecountCaption;
        // The report's own tools, after the re-query button ("图表", "明细查询").
        QList<ui::ToolButtonEntry> ownTools = {};
    };
    ReportScreen(const frontdesk::FrontDeskContext& context, const Setup& setup, QWidget* parent);
    ~ReportScreen() override;

    // Empties every report's filter lists, sets both dates to today, lets the report set its
    // filters as they stand on opening, computes and shows the screen.
    void present();
    // Runs the report again for the dates and filters as they stand ("重新统计").
    void recompute() { refresh(); }

    DateRange range() const;
    void setRange(const DateRange& range);
    QDateEdit* fromDate() const { return from_; }
    QDateEdit* toDate() const { return to_; }
    QString heading() const;
    ui::ToolStrip* toolbar() const { return toolbar_; }

    // The printed report as "预览/打印" previews it and "导出PDF" writes it.
    virtual document::DocumentStream printedReport() = 0;
    // The grids as "导出Excel" writes them, one sheet each; "导出CSV" writes the first.
    virtual QVector<exporting::Sheet> exportSheets() = 0;

    // Empties the filter lists of every report screen there is.
    static void emptyEveryFilterList();

  signals:
    void back();

  protected:
    // Sets the filters as they stand when the screen opens (before the first computation).
    virtual void resetFilters() {}
    // Reads the report for the dates and filters and shows it.
    virtual void refresh() = 0;
    // The sheet "导出CSV" writes; the first of exportSheets() unless a report says otherwise.
    virtual exporting::Sheet csvSheet();

    void setHeading(const QString& heading);
    // Where the report puts its filters, after the dates.
    QHBoxLayout* filterRow() const { return filters_; }
    // Where the report puts its grids and figures.
    QVBoxLayout* body() const { return body_; }
    // A filter list in the filter row, after its caption; opening any report empties it.
    QComboBox* addFilterList(const QString& objectName, QLabel* caption = nullptr);
    // A filter behind its check box: the box, the choice of what it filters by, and the list of
    // that choice's values, shown while the box is ticked; `fill` refills the list for the choice.
    struct ChoiceFilter {
        QCheckBox* box = nullptr;
        QComboBox* choice = nullptr;
        QComboBox* values = nullptr;
        // Unticked on opening: the first choice, the list hidden.
        void reset() const;
    };
    ChoiceFilter addChoiceFilter(const QString& name, const QStringList& choices, std::function<void()> fill);
    // Mode buttons in a row of their own under the filters, exactly one down (the first); `chosen`
    // gets the mode's index.
    QList<QToolButton*> addModeButtons(const QStringList& captions, const std::function<void(int)>& chosen);
    // The frame of the printed report: venue, dates, who prints it now.
    ReportFrame frame(const QString& title, const QString& filterCaption) const;
    // The files' suggested name: the heading and the dates.
    QString fileName() const;

    const frontdesk::FrontDeskContext& context_;

  private:
    void preview();

    ui::ToolStrip* toolbar_;
    QLabel* heading_;
    QDateEdit* from_;
    QDateEdit* to_;
    QHBoxLayout* filters_;
    QHBoxLayout* modeRow_;
    QVBoxLayout* body_;
    QList<QComboBox*> filterLists_;
};

// A report's table and its chart ("图表"), one shown at a time: the table first.
class ChartPages : public QStackedWidget {
  public:
    ChartPages(QWidget* table, const QString& chartName, QWidget* parent);
    bool chartShown() const { return currentIndex() == 1; }
    void showTable() { setCurrentIndex(0); }
    void showChart(const document::Chart& chart);
    ui::print::DocumentView* chart() const { return chart_; }

  private:
    ui::print::DocumentView* chart_;
};

// Fills a filter list with code-and-name choices, nothing chosen; the chosen code is its data.
void fillChoices(QComboBox* list, const QList<Choice>& choices);
// The code chosen in a filter list; empty when none.
QString chosenCode(const QComboBox* list);
// The name of the choice in a filter list; empty when none.
QString chosenName(const QComboBox* list);

} // namespace sorrel::reports
