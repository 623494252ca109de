// The help pages: an HTML page shipped beside the program, opened in the system's viewer.
#pragma once

#include <QString>

namespace sorrel::ui {

QString helpPagePath(const QString& programDir);
// False when the page is missing or no viewer would take it.
bool openHelpPage(const QString& programDir);
// Opens it, or tells the operator where it should have been.
void showHelpPage(const QString& programDir);

} // namespace sorrel::ui
