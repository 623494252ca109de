// The board's six state pictures as PNG files for the page (/state-1.png … /state-6.png), drawn
// by the front desk's own painter so a phone shows a table's state exactly as the desk does.
// Needs the GUI application; drawn once at start.
#pragma once

#include "waiter/waiter_server.h"

namespace sorrel::waiter {

QMap<QString, PageFile> statePictures();

} // namespace sorrel::waiter
