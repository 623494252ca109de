// One screen at a time: a host widget whose children are panels. Showing a panel hides its
// siblings and may make it the current panel, which the keyboard map consults.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace sorrel::ui {

class PanelNavigator : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // ShowPanel: `panel` becomes a child of `host` at 0,0 and visible, every other panel of
    // `host` is hidden; with `makeCurrent` it becomes the current panel.
    void showPanel(QWidget* panel, QWidget* host, bool makeCurrent);

    QWidget* currentPanel() const { return current_; }
    void setCurrentPanel(QWidget* panel);

  signals:
    void currentPanelChanged(QWidget* panel);

  protected:
    // Panels fill their host whenever the host changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> current_;
};

} // namespace sorrel::ui
