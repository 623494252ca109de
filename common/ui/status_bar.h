// The status bar of both main windows: four sunken panels of fixed widths (the last takes what
// is left), the clock in the last one rewritten every second, and a progress bar over the first
// while long work runs (the day rollover at login).
#pragma once

#include "common/clock.h"

#include <QWidget>

class QLabel;
class QProgressBar;

namespace sorrel::ui {

class StatusBar : public QWidget {
    Q_OBJECT
  public:
    // `centred`: panels 1-3 centre their text.
    StatusBar(const Clock& clock, const QList<int>& widths, bool centred, QWidget* parent);

    QLabel* panel(int index) const { return panels_.value(index); }
    // Shows the progress bar at `percent`; at 100 it goes away again.
    void showProgress(int percent);

  private:
    void refreshClock();

    const Clock& clock_;
    QList<QLabel*> panels_;
    QProgressBar* progress_;
};

} // namespace sorrel::ui
