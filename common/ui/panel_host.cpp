#include "common/ui/panel_host.h"

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
    if (makeCurrent) setCurrentPanel(panel);
}

void PanelNavigator::setCurrentPanel(QWidget* panel) {
    if (current_ == panel) return;
    current_ = panel;
    emit currentPanelChanged(panel);
}

} // namespace sorrel::ui
