#include "common/ui/status_bar.h"

#include "common/db_datetime.h"
#include "common/ui/guard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace sorrel::ui {

namespace {
constexpr int kHeight = 23;
}

StatusBar::StatusBar(const Clock& clock, const QList<int>& widths, bool centred, QWidget* parent)
    : QWidget(parent), clock_(clock) {
    setObjectName(QStringLiteral("StatusBar"));
    setFixedHeight(kHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 1, 0, 0);
    row->setSpacing(2);
    for (int i = 0; i < widths.size(); ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (centred && i > 0) panel->setAlignment(Qt::AlignCenter);
        const bool last = i == widths.size() - 1;
        if (last)
            panel->setMinimumWidth(widths[i]);
        else
            panel->setFixedWidth(widths[i]);
        row->addWidget(panel, last ? 1 : 0);
        panels_.append(panel);
    }
    progress_ = new QProgressBar(panels_.value(0));
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setGeometry(0, 0, widths.value(0), kHeight - 1);
    progress_->hide();

    refreshClock();
    auto* timer = new QTimer(this);
    ui::connectGuarded(timer, &QTimer::timeout, this, &StatusBar::refreshClock);
    timer->start(1000);
}

void StatusBar::showProgress(int percent) {
    progress_->setVisible(percent < 100);
    progress_->setValue(percent);
    progress_->repaint();
}

void StatusBar::refreshClock() {
    panels_.last()->setText(toDbDateTime(clock_.now()));
}

} // namespace sorrel::ui
