#include "frontdesk/reports/report_screen.h"

#include "common/document/page_format.h"
#include "common/messages.h"
#include "common/ui/date_picker.h"
#include "common/ui/export_actions.h"
#include "common/ui/guard.h"
#include "common/ui/panel_host.h"
#include "common/ui/print/document_view.h"
#include "common/ui/print/print_document.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::reports {

namespace {

QList<ReportScreen*>& liveScreens() {
    static QList<ReportScreen*> screens;
    return screens;
}

QList<ui::ToolButtonEntry> toolsOf(const ReportScreen::Setup& setup) {
    using namespace report_tool;
    QList<ui::ToolButtonEntry> tools{{kRequery, setup.requeryCaption, QStyle::SP_BrowserReload}};
    tools << setup.ownTools;
    tools << ui::ToolButtonEntry{kPrint, QStringLiteral("预览/打印"), QStyle::SP_FileDialogContentsView}
          << ui::ToolButtonEntry{kCsv, QStringLiteral("导出CSV"), QStyle::SP_DialogSaveButton}
          << ui::ToolButtonEntry{kExcel, QStringLiteral("导出Excel"), QStyle::SP_DialogSaveButton}
          << ui::ToolButtonEntry{kPdf, QStringLiteral("导出PDF"), QStyle::SP_DialogSaveButton}
          << ui::ToolButtonEntry{kBack, QStringLiteral("回退"), QStyle::SP_ArrowBack}
          << ui::ToolButtonEntry{kHelp, QStringLiteral("帮助 /信息"), QStyle::SP_DialogHelpButton};
    return tools;
}

} // namespace

ReportScreen::ReportScreen(const frontdesk::FrontDeskContext& context, const Setup& setup, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(setup.objectName);
    setAutoFillBackground(true);
    liveScreens().append(this);

    toolbar_ = new ui::ToolStrip(setup.objectName + QStringLiteral("Tools"), toolsOf(setup), this);
    heading_ = new QLabel(setup.heading, this);
    heading_->setObjectName(QStringLiteral("lbl_ReportHeading"));
    QFont font = heading_->font();
    font.setPointSize(16);
    font.setBold(true);
    heading_->setFont(font);
    heading_->setAlignment(Qt::AlignCenter);

    from_ = ui::datePicker(QStringLiteral("dtp_ReportFrom"), this);
    to_ = ui::datePicker(QStringLiteral("dtp_ReportTo"), this);
    filters_ = new QHBoxLayout;
    filters_->addWidget(new QLabel(QStringLiteral("开始时间："), this));
    filters_->addWidget(from_);
    filters_->addSpacing(8);
    filters_->addWidget(new QLabel(QStringLiteral("结束时间："), this));
    filters_->addWidget(to_);
    filters_->addSpacing(16);

    modeRow_ = new QHBoxLayout;
    body_ = new QVBoxLayout;
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(10, 6, 10, 10);
    inner->addWidget(heading_);
    inner->addLayout(filters_);
    inner->addLayout(modeRow_);
    inner->addLayout(body_, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolbar_);
    column->addLayout(inner, 1);

    using namespace report_tool;
    ui::connectGuarded(toolbar_->button(kRequery), &QToolButton::clicked, this, &ReportScreen::refresh);
    ui::connectGuarded(toolbar_->button(kPrint), &QToolButton::clicked, this, &ReportScreen::preview);
    ui::connectGuarded(toolbar_->button(kCsv), &QToolButton::clicked, this,
                       [this] { ui::exportCsv(this, fileName(), [this] { return csvSheet(); }); });
    ui::connectGuarded(toolbar_->button(kExcel), &QToolButton::clicked, this,
                       [this] { ui::exportExcel(this, fileName(), [this] { return exportSheets(); }); });
    ui::connectGuarded(toolbar_->button(kPdf), &QToolButton::clicked, this,
                       [this] { ui::exportPdf(this, fileName(), [this] { return printedReport(); }); });
    ui::connectGuarded(toolbar_->button(kBack), &QToolButton::clicked, this, &ReportScreen::back);
}

ReportScreen::~ReportScreen() {
    liveScreens().removeAll(this);
}

void ReportScreen::present() {
    emptyEveryFilterList();
    const QDate today = context_.clock.now().date();
    setRange({today, today});
    resetFilters();
    refresh();
    context_.navigator.showPanel(this, context_.host, true);
}

DateRange ReportScreen::range() const {
    return {from_->date(), to_->date()};
}

void ReportScreen::setRange(const DateRange& range) {
    from_->setDate(range.from);
    to_->setDate(range.to);
}

QString ReportScreen::heading() const {
    return heading_->text();
}

void ReportScreen::setHeading(const QString& heading) {
    heading_->setText(heading);
}

void ReportScreen::emptyEveryFilterList() {
    for (ReportScreen* screen : liveScreens())
        for (QComboBox* list : screen->filterLists_)
            list->clear();
}

exporting::Sheet ReportScreen::csvSheet() {
    return exportSheets().value(0);
}

QComboBox* ReportScreen::addFilterList(const QString& objectName, QLabel* caption) {
    auto* list = new QComboBox(this);
    list->setObjectName(objectName);
    list->setMinimumWidth(140);
    if (caption) filters_->addWidget(caption);
    filters_->addWidget(list);
    filterLists_.append(list);
    return list;
}

ReportScreen::ChoiceFilter ReportScreen::addChoiceFilter(const QString& name, const QStringList& choices,
                                                      std::function<void()> fill) {
    ChoiceFilter f;
    f.box = new QCheckBox(this);
    f.box->setObjectName(QStringLiteral("chk_%1Filter").arg(name));
    f.choice = new QComboBox(this);
    f.choice->setObjectName(QStringLiteral("cbb_%1Choice").arg(name));
    f.choice->addItems(choices);
    filters_->addWidget(f.box);
    filters_->addWidget(f.choice);
    f.values = addFilterList(QStringLiteral("dbl_%1Value").arg(name));
    f.values->hide();
    ui::connectGuarded(f.box, &QCheckBox::toggled, this, [f, fill](bool on) {
        f.values->setVisible(on);
        if (!on) return;
        f.choice->setCurrentIndex(0);
        fill();
    });
    ui::connectGuarded(f.choice, &QComboBox::activated, this, [fill] { fill(); });
    return f;
}

void ReportScreen::ChoiceFilter::reset() const {
    choice->setCurrentIndex(0);
    box->setChecked(false);
    values->hide();
}

ChartPages::ChartPages(QWidget* table, const QString& chartName, QWidget* parent) : QStackedWidget(parent) {
    chart_ = new ui::print::DocumentView(this);
    chart_->setObjectName(chartName);
    auto* area = new QScrollArea(this);
    area->setWidgetResizable(true);
    area->setWidget(chart_);
    addWidget(table);
    addWidget(area);
}

void ChartPages::showChart(const document::Chart& chart) {
    chart_->setChart(chart);
    setCurrentIndex(1);
}

QList<QToolButton*> ReportScreen::addModeButtons(const QStringList& captions,
                                                 const std::function<void(int)>& chosen) {
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    QList<QToolButton*> buttons;
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setText(captions[i]);
        button->setObjectName(QStringLiteral("btn_ReportMode%1").arg(i));
        button->setCheckable(true);
        button->setChecked(i == 0);
        group->addButton(button, i);
        modeRow_->addWidget(button);
        buttons << button;
    }
    modeRow_->addStretch(1);
    ui::connectGuarded(group, &QButtonGroup::idClicked, this, chosen);
    return buttons;
}

ReportFrame ReportScreen::frame(const QString& title, const QString& filterCaption) const {
    const OperatorEntry* op = context_.session.currentOperator();
    return {title,         context_.settings().userName, range(),
            filterCaption, op ? op->name : QString(),    context_.clock.now()};
}

QString ReportScreen::fileName() const {
    const DateRange r = range();
    return heading() + QLatin1Char('_') + r.from.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('_') +
           r.to.toString(QStringLiteral("yyyy-MM-dd"));
}

void ReportScreen::preview() {
    const ui::print::PrintResult result = ui::print::printDocument(
        printedReport(), ui::print::PrintTarget::preview(document::PageFormat::a4()), this);
    if (!result.failure.isEmpty()) messages::information(result.failure);
}

void fillChoices(QComboBox* list, const QList<Choice>& choices) {
    list->clear();
    for (const Choice& c : choices)
        list->addItem(choiceLabel(c), c.code);
    list->setCurrentIndex(-1);
}

QString chosenCode(const QComboBox* list) {
    return list->currentIndex() < 0 ? QString() : list->currentData().toString();
}

QString chosenName(const QComboBox* list) {
    if (list->currentIndex() < 0) return {};
    const QString label = list->currentText();
    const QString code = list->currentData().toString();
    return label.startsWith(code + QLatin1Char(' ')) ? label.mid(code.size() + 1) : label;
}

} // namespace sorrel::reports
