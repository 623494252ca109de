// What an operator sees wrong on a screen, found without naming its widgets: a caption, a
// grid heading or a button's text cut off, a heading left empty, a field too narrow for the
// code it takes, two widgets the layouts place on top of each other, and anything reaching
// outside its window.
#pragma once

#include <QStringList>
#include <functional>

class QWidget;

namespace sorrel::ui {
class PanelNavigator;
}

namespace sorrel::test {

// Each fault as one line naming the widget; empty when the screen shows well. Checks every
// visible widget inside `screen`, as it is laid out now.
QStringList layoutFaults(QWidget* screen);

// Shows each state of a screen's own panel hosts in turn (a host: a widget without a layout that
// holds nothing but panels, one shown at a time, as the ordering screen's two item choices) and
// calls `check` with the panel shown; once for a screen without such hosts.
void forEachPanelState(QWidget* screen, ui::PanelNavigator& navigator,
                       const std::function<void(const QString& state)>& check);

} // namespace sorrel::test
