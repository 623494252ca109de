#include "frontdesk/settings/bill_layout_panel.h"

#include "common/messages.h"
#include "common/ui/guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sorrel::settings {

namespace {

// The section switches in two columns.
constexpr int kSwitchColumns = 2;

} // namespace

BillLayoutPanel::BillLayoutPanel(const frontdesk::FrontDeskContext& context, SettingsDraft& draft,
                                 QWidget* parent)
    : QWidget(parent), context_(context), draft_(draft) {
    setObjectName(QStringLiteral("pnl_SetupPrint"));
    auto* title = new QLabel(QStringLiteral("帐单格式定义"), this);
    QFont big = title->font();
    big.setPixelSize(16);
    big.setBold(true);
    title->setFont(big);

    auto* header = new QGroupBox(QStringLiteral("帐单表头"), this);
    auto* headerGrid = new QGridLayout(header);
    headerGrid->setVerticalSpacing(3);
    const QStringList captions = headerCaptions();
    for (int row = 0; row < 7; ++row) {
        auto* allowed = new QCheckBox(QStringLiteral("允许打印"), header);
        allowed->setObjectName(QStringLiteral("chk_PrintRow%1").arg(row + 1));
        headerGrid->addWidget(new QLabel(QStringLiteral("第%1行").arg(row + 1), header), row, 0);
        headerGrid->addWidget(allowed, row, 1);
        rows_ << allowed;
        ui::connectGuarded(allowed, &QCheckBox::toggled, this, [this, row](bool on) {
            if (!showing_) draft_.setLayout(rowSwitchColumn(row), on);
        });
        for (int c = 0; c < 2; ++c) {
            const int cell = row * 2 + c;
            auto* box = new QComboBox(header);
            box->setObjectName(QStringLiteral("cmb_PrintCell%1%2").arg(row + 1).arg(c + 1));
            box->addItems(captions);
            headerGrid->addWidget(box, row, 2 + c);
            captions_ << box;
            ui::connectGuarded(box, &QComboBox::currentTextChanged, this, [this, cell](const QString& text) {
                if (!showing_ && !text.isEmpty()) draft_.chooseCaption(cell, text);
            });
        }
    }
    headerGrid->setColumnStretch(2, 1);
    headerGrid->setColumnStretch(3, 1);

    auto* sectionsBox = new QGroupBox(QStringLiteral("打印内容"), this);
    auto* sectionsGrid = new QGridLayout(sectionsBox);
    sectionsGrid->setVerticalSpacing(3);
    const QList<SectionSwitch>& switches = sectionSwitches();
    for (int i = 0; i < switches.size(); ++i) {
        auto* box = new QCheckBox(switches[i].caption, sectionsBox);
        box->setObjectName(QStringLiteral("chk_") + switches[i].column);
        sectionsGrid->addWidget(box, i / kSwitchColumns, i % kSwitchColumns);
        sections_ << box;
        const QString column = switches[i].column;
        ui::connectGuarded(box, &QCheckBox::toggled, this, [this, column](bool on) {
            if (!showing_) draft_.setLayout(column, on);
        });
    }

    auto* freeBox = new QGroupBox(QStringLiteral("自定义信息"), this);
    auto* freeGrid = new QGridLayout(freeBox);
    const auto freeLine = [&](int at, const QString& caption, const QString& switchColumn,
                              const QString& textColumn, QCheckBox*& box, QLineEdit*& edit) {
        box = new QCheckBox(caption, freeBox);
        box->setObjectName(QStringLiteral("chk_") + switchColumn);
        edit = new QLineEdit(freeBox);
        edit->setObjectName(QStringLiteral("edt_") + textColumn);
        edit->setMaxLength(kFreeLineLength);
        freeGrid->addWidget(box, at, 0);
        freeGrid->addWidget(edit, at, 1);
        ui::connectGuarded(box, &QCheckBox::toggled, this, [this, switchColumn](bool on) {
            if (!showing_) draft_.setLayout(switchColumn, on);
        });
        ui::connectGuarded(edit, &QLineEdit::textChanged, this, [this, textColumn](const QString& text) {
            if (!showing_) draft_.setLayout(textColumn, text);
        });
    };
    freeLine(0, QStringLiteral("自定义信息[I]"), kFreeLine1Switch, kFreeLine1, free1Switch_, free1_);
    freeLine(1, QStringLiteral("自定义信息[II]"), kFreeLine2Switch, kFreeLine2, free2Switch_, free2_);
    freeGrid->setColumnStretch(1, 1);

    default_ = new QPushButton(QStringLiteral("默认"), this);
    default_->setObjectName(QStringLiteral("btn_PrintDefault"));
    ui::connectGuarded(default_, &QPushButton::clicked, this, &BillLayoutPanel::resetHeader);

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title);
    titleRow->addStretch();
    titleRow->addWidget(default_);
    auto* lower = new QHBoxLayout;
    lower->addWidget(sectionsBox);
    lower->addWidget(freeBox, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 6, 12, 6);
    column->setSpacing(4);
    column->addLayout(titleRow);
    column->addWidget(header);
    column->addLayout(lower);
    column->addStretch();
}

void BillLayoutPanel::refresh() {
    showing_ = true;
    for (int cell = 0; cell < captions_.size(); ++cell)
        captions_[cell]->setCurrentIndex(
            captions_[cell]->findText(draft_.layoutValue(captionColumn(cell)).toString().trimmed()));
    for (int row = 0; row < rows_.size(); ++row)
        rows_[row]->setChecked(draft_.layoutValue(rowSwitchColumn(row)).toBool());
    const QList<SectionSwitch>& switches = sectionSwitches();
    for (int i = 0; i < switches.size(); ++i)
        sections_[i]->setChecked(draft_.layoutValue(switches[i].column).toBool());
    free1Switch_->setChecked(draft_.layoutValue(kFreeLine1Switch).toBool());
    free2Switch_->setChecked(draft_.layoutValue(kFreeLine2Switch).toBool());
    free1_->setText(draft_.layoutValue(kFreeLine1).toString());
    free2_->setText(draft_.layoutValue(kFreeLine2).toString());
    showing_ = false;
}

void BillLayoutPanel::resetHeader() {
    if (!messages::ask(kDefaultLayoutQuestion)) return;
    draft_.resetHeader(context_.db);
    refresh();
}

} // namespace sorrel::settings
