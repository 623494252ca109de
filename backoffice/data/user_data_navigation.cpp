#include "backoffice/data/user_data_navigation.h"

#include "backoffice/data/log_panel.h"
#include "backoffice/data/registration_panel.h"

namespace sorrel::data {

QHash<QString, QWidget*> makeUserDataPanels(const panels::BackOfficeContext& context) {
    auto* registration = new RegistrationPanel(context, context.host);
    auto* log = new LogPanel(context, context.host);
    context.workspace.registerPanel(QStringLiteral("注册用户"), {nullptr,
                                                                 [registration] { registration->open(); },
                                                                 {},
                                                                 [registration] { registration->save(); },
                                                                 [registration] { registration->cancel(); }});
    context.workspace.registerPanel(QStringLiteral("日志查询"), {nullptr, [log] { log->open(); }});
    return {{QStringLiteral("注册用户"), registration}, {QStringLiteral("日志查询"), log}};
}

} // namespace sorrel::data
