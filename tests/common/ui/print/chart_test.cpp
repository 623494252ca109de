// A report's chart as the manager reads it: on A4, on the roll and on screen every label stands
// clear of the others and of the bars, the value axis counts in round steps of yuan, each bar is
// as tall as its figures, crowded category labels are turned or thinned instead of overprinted,
// a chart that does not fit the rest of a page starts the next one whole, and the PDF carries
// the bars in their series' colours.
#include "common/document/document_builder.h"
#include "common/ui/print/document_layout.h"
#include "common/ui/print/document_view.h"
#include "common/ui/print/print_document.h"
#include "tests/support/screen_application.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace sorrel::document;
using namespace sorrel::ui::print;

namespace {

const QStringList kKinds = {QStringLiteral("热菜"), QStringLiteral("凉菜"), QStringLiteral("酒水"),
                            QStringLiteral("主食"), QStringLiteral("包厢费")};

// Receipts of `days` business days stacked by the five kinds.
Chart receiptsByDay(int days, double scale = 1) {
    Chart chart;
    chart.title = QStringLiteral("每日营业收入");
    chart.valueCaption = QStringLiteral("元");
    for (int d = 0; d < days; ++d)
        chart.categories.append(QDate(2024, 6, 1).addDays(d).toString(QStringLiteral("MM-dd")));
    for (int k = 0; k < kKinds.size(); ++k) {
        ChartSeries series{kKinds[k], {}};
        for (int d = 0; d < days; ++d)
            series.values.append(scale * (800 + 137 * ((d * (k + 3)) % 11)) / (k + 1));
        chart.series.append(series);
    }
    return chart;
}

Chart topItems(int count) {
    Chart chart;
    chart.title = QStringLiteral("销售额前%1名").arg(count);
    chart.valueCaption = QStringLiteral("元");
    chart.horizontal = true;
    chart.heightMm = 110;
    ChartSeries sales{QStringLiteral("销售额"), {}};
    for (int i = 0; i < count; ++i) {
        chart.categories.append(i == 0 ? QStringLiteral("清蒸鲈鱼（时价，约一斤二两，活鱼现杀）")
                                       : QStringLiteral("招牌菜%1号").arg(i));
        sales.values.append(12880.0 / (i + 1));
    }
    chart.series.append(sales);
    return chart;
}

struct Case {
    const char* name;
    Chart chart;
};

QVector<Case> charts() {
    Chart months = receiptsByDay(12, 30);
    for (int m = 0; m < 12; ++m)
        months.categories[m] = QStringLiteral("2024年%1月").arg(m + 1);
    Chart refunds;
    refunds.title = QStringLiteral("退单");
    refunds.categories = {QStringLiteral("06-01"), QStringLiteral("06-02")};
    refunds.series = {{QStringLiteral("退单"), {-120.0, 300.0}}, {QStringLiteral("赠单"), {-30.0, 0.0}}};
    Chart empty;
    empty.title = QStringLiteral("无营业");
    Chart low = receiptsByDay(10);
    low.title.clear();
    low.heightMm = 5;
    return {{"a month of days", receiptsByDay(31)},
            {"two months of days", receiptsByDay(62)},
            {"a year by month, in tens of thousands", months},
            {"top 15 items", topItems(15)},
            {"top 40 items", topItems(40)},
            {"one day", receiptsByDay(1)},
            {"no business", empty},
            {"refunds below zero", refunds},
            {"too low for its labels", low}};
}

double overlap(const QRectF& a, const QRectF& b) {
    const QRectF both = a.intersected(b);
    return both.isValid() ? both.width() * both.height() : 0;
}

// A value label's figure, 万 counted out.
double figureOf(QString text) {
    const bool tenThousands = text.endsWith(QStringLiteral("万"));
    if (tenThousands) text.chop(1);
    return text.toDouble() * (tenThousands ? 10000 : 1);
}

// The chart's layout as the given format lays it out on a PDF printer.
ChartLayout laidOut(const Chart& chart, const PageFormat& format, double* width) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    *width = format.printableWidthMm() * printer.resolution() / 25.4;
    return layOutChart(chart, *width, chart.heightMm * printer.resolution() / 25.4,
                       printMetrics(format, &printer), &printer);
}

} // namespace

TEST(ChartLayout, LabelsStandClearAndBarsAreAsTallAsTheirFigures) {
    sorrel::test::screenApplication();
    for (const PageFormat& format : {PageFormat::a4(), PageFormat::receiptRoll80()}) {
        for (const Case& c : charts()) {
            SCOPED_TRACE(format.name.toStdString() + ": " + c.name);
            double width = 0;
            const ChartLayout chart = laidOut(c.chart, format, &width);
            const QRectF page(0, 0, width, chart.height);
            EXPECT_GE(chart.height, c.chart.heightMm * 0.99 * width / format.printableWidthMm());
            QVector<ChartText> texts = chart.labels();
            if (chart.title) texts.append(*chart.title);
            const QFontMetricsF small(chart.font);
            for (int i = 0; i < texts.size(); ++i) {
                const ChartText& t = texts[i];
                EXPECT_TRUE(page.adjusted(-1, -1, 1, 1).contains(t.box)) << t.text.toStdString();
                for (int j = i + 1; j < texts.size(); ++j)
                    EXPECT_LT(overlap(t.box, texts[j].box), 1.0)
                        << t.text.toStdString() << " over " << texts[j].text.toStdString();
            }
            for (const ChartText& t : chart.categoryLabels + chart.valueLabels + chart.legend)
                EXPECT_LT(overlap(t.box, chart.plot), 1.0) << t.text.toStdString();
            for (const ChartBar& bar : chart.bars)
                EXPECT_TRUE(chart.plot.adjusted(-1, -1, 1, 1).contains(bar.box));
            EXPECT_TRUE(page.adjusted(-1, -1, 1, 1).contains(chart.plot));
            EXPECT_GT(chart.plot.height(), 0);

            // The value axis: round steps (1, 2 or 5 times a power of ten), evenly apart.
            ASSERT_GE(chart.valueLabels.size(), 2);
            const double step = figureOf(chart.valueLabels[1].text) - figureOf(chart.valueLabels[0].text);
            const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
            EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                        std::abs(mantissa - 5) < 1e-9)
                << step;
            for (int i = 1; i < chart.valueLabels.size(); ++i)
                EXPECT_NEAR(figureOf(chart.valueLabels[i].text) - figureOf(chart.valueLabels[i - 1].text),
                            step, 1e-6);

            // Each bar as long as its figure on that axis, and the largest reaching past half of it.
            const double low = figureOf(chart.valueLabels.first().text);
            const double high = figureOf(chart.valueLabels.last().text);
            const double axis = c.chart.horizontal ? chart.plot.width() : chart.plot.height();
            int b = 0;
            double longest = 0;
            for (int cat = 0; cat < c.chart.categories.size(); ++cat)
                for (const ChartSeries& series : c.chart.series) {
                    const double value = series.values[cat];
                    if (value == 0) continue;
                    ASSERT_LT(b, chart.bars.size());
                    const QRectF& bar = chart.bars[b++].box;
                    const double length = c.chart.horizontal ? bar.width() : bar.height();
                    EXPECT_NEAR(length, std::abs(value) / (high - low) * axis, 1.0) << value;
                    longest = std::max(longest, length);
                }
            EXPECT_EQ(b, chart.bars.size());

            // Every category named where there is room; where there is not, evenly thinned.
            const int categories = int(c.chart.categories.size());
            if (categories > 0) {
                ASSERT_FALSE(chart.categoryLabels.isEmpty());
                const int every = int(std::ceil(double(categories) / chart.categoryLabels.size()));
                EXPECT_LE(chart.categoryLabels.size() * every - every, categories);
                for (const ChartText& label : chart.categoryLabels) {
                    const double room = label.upright ? label.box.height() : label.box.width();
                    EXPECT_LE(small.horizontalAdvance(label.text), room + 1) << label.text.toStdString();
                }
            }
            if (categories == 31 && format.name == QStringLiteral("A4")) {
                EXPECT_EQ(chart.categoryLabels.size(), 31) << "a month's days all named on A4";
            }
            EXPECT_EQ(chart.legend.size(), c.chart.series.size() > 1 ? c.chart.series.size() : 0);
        }
    }
}

namespace {

// A report of `lines` rows with the chart below them.
Document reportWithChart(int lines, const Chart& chart) {
    DocumentBuilder b(QStringLiteral("消费分析报表"), {Column::text(QStringLiteral("日期"), 2),
                                                       Column::money(QStringLiteral("收入金额")).summing()});
    b.title(QStringLiteral("消费分析报表")).columnHeader();
    for (int i = 0; i < lines; ++i)
        b.row({QDate(2024, 6, 1).addDays(i % 30).toString(Qt::ISODate), 1000.0 + i});
    b.totals({QStringLiteral("合计")});
    Document document = b.document();
    Band band;
    band.kind = BandKind::Chart;
    band.chart = chart;
    document.bands.append(band);
    return document;
}

int pageOfChart(const DocumentLayout& layout, double* y) {
    for (int page = 0; page < layout.pages.size(); ++page)
        for (const Placement& at : layout.pages[page])
            if (layout.rows[at.row].chart) {
                *y = at.y;
                return page;
            }
    return -1;
}

} // namespace

TEST(ChartLayout, ChartThatDoesNotFitTheRestOfAPageStartsTheNextWhole) {
    sorrel::test::screenApplication();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const PageFormat a4 = PageFormat::a4();
    const double dotsPerMm = printer.resolution() / 25.4;
    const double width = a4.printableWidthMm() * dotsPerMm;
    const double height = (a4.paperHeightMm - a4.marginTopMm - a4.marginBottomMm) * dotsPerMm;
    struct Fit {
        int lines;
        double heightMm;
        int page;
    };
    // A few lines leave room below them; 40 lines leave less than 80 mm; a chart taller than a
    // page is cut to one.
    for (const Fit f : {Fit{5, 80, 0}, Fit{40, 80, 1}, Fit{5, 400, 1}}) {
        SCOPED_TRACE(testing::Message() << f.lines << " lines, " << f.heightMm << " mm");
        Chart chart = receiptsByDay(31);
        chart.heightMm = f.heightMm;
        const DocumentLayout layout =
            layOutDocument(reportWithChart(f.lines, chart), a4, &printer, width, height);
        double y = 0;
        EXPECT_EQ(pageOfChart(layout, &y), f.page);
        for (const PlacedRow& row : layout.rows)
            if (row.chart) {
                EXPECT_LE(y + layout.rowHeight(row, y == 0), layout.bodyHeight + 0.5);
            }
    }
}

TEST(ChartLayout, OnScreenTheViewPaintsTheSameChart) {
    sorrel::test::screenApplication();
    DocumentView view;
    view.resize(900, 400);
    view.setChart(receiptsByDay(31));
    view.resize(900, view.heightForWidth(900));
    ASSERT_EQ(view.layout().rows.size(), 1);
    const ChartLayout& chart = *view.layout().rows[0].chart;
    EXPECT_EQ(chart.categoryLabels.size(), 31);
    EXPECT_EQ(chart.legend.size(), kKinds.size());
    EXPECT_LE(chart.height + 16, view.height());
    const QImage shown = view.grab().toImage();
    sorrel::test::saveScreenshot(&view, QStringLiteral("chart_on_screen"));
    // The bars of the first kind in their colour, where the layout puts the first one.
    const QRectF first = chart.bars[0].box.translated(8, 8);
    EXPECT_EQ(shown.pixelColor(first.center().toPoint()), seriesColour(0));
}

TEST(ChartLayout, PdfCarriesTheBarsInTheirColours) {
    sorrel::test::screenApplication();
    const QTemporaryDir dir;
    const QString outDir = qEnvironmentVariable("SORREL_SCREENSHOT_DIR", dir.path());
    for (const PageFormat& format : {PageFormat::a4(), PageFormat::receiptRoll80()}) {
        SCOPED_TRACE(format.name.toStdString());
        Document document = reportWithChart(3, receiptsByDay(31));
        Band top;
        top.kind = BandKind::Chart;
        top.chart = topItems(15);
        document.bands.append(top);
        const QString pdf = QDir(outDir).filePath(QStringLiteral("chart_%1.pdf").arg(format.name));
        ASSERT_TRUE(printDocument(document, PrintTarget::pdf(pdf, format)).ok());
        const QString png = QDir(outDir).filePath(QStringLiteral("chart_%1").arg(format.name));
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), pdf, png});
        QImage page(png + QStringLiteral("-1.png"));
        if (page.isNull()) page.load(png + QStringLiteral("-01.png"));
        ASSERT_FALSE(page.isNull());
        QVector<int> seen(kKinds.size(), 0);
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                for (int k = 0; k < kKinds.size(); ++k) {
                    const QColor pixel = page.pixelColor(x, y);
                    const QColor want = seriesColour(k);
                    if (std::abs(pixel.red() - want.red()) + std::abs(pixel.green() - want.green()) +
                            std::abs(pixel.blue() - want.blue()) <
                        12)
                        ++seen[k];
                }
        for (int k = 0; k < kKinds.size(); ++k)
            EXPECT_GT(seen[k], 20) << kKinds[k].toStdString();
    }
}
