#include "common/ui/panel_host.h"

#include <QEvent>

namespace sorrel::ui {

void PanelNavigator::showPanel(QWidget* panel, QWidget* host, bool makeCurrent) {
    if (panel->parentWidget() != host) panel->setParent(host);
    panel->move(0, 0);
    // Screens fill their host, which keeps a fixed size inside the fixed-size window.
    if (!host->size().isEmpty()) panel->resize(host->size());
    for (QObject* child : host->children()) {
        auto* sibling = qobject_cast<QWidget*>(child);
        if (sibling && sibling != panel && !sibling->isWindow()) sibling->hide();
    }
    panel->show();
    host->installEventFilter(this);
    if (makeCurrent) setCurrentPanel(panel);
}

bool PanelNavigator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        auto* host = static_cast<QWidget*>(watched);
        for (QObject* child : host->children())
            if (auto* panel = qobject_cast<QWidget*>(child); panel && !panel->isWindow())
                panel->resize(host->size());
    }
    return false;
}

void PanelNavigator::setCurrentPanel(QWidget* panel) {
    if (current_ == panel) return;
    current_ = panel;
    emit currentPanelChanged(panel);
}

} // namespace sorrel::ui
