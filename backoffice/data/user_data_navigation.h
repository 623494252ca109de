// How "注册用户" and "日志查询" of the data tree plug into the back office's shell: their
// panels, and what the record toolbar and opening do on each.
#pragma once

#include "backoffice/panels/back_office_context.h"

#include <QHash>

class QWidget;

namespace sorrel::data {

// Both panels by their leaf captions, registered with the context's workspace.
QHash<QString, QWidget*> makeUserDataPanels(const panels::BackOfficeContext& context);

} // namespace sorrel::data
