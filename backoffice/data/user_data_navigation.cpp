#include "backoffice/data/user_data_navigation.h"

#include "backoffice/data/data_operations_panel.h"
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
    QHash<QString, QWidget*> panels{{QStringLiteral("注册用户"), registration}, {QStringLiteral("日志查询"), log}};
    const std::pair<const char*, DataOperation> operations[] = {{"数据备份", DataOperation::Backup},
                                                                {"数据恢复", DataOperation::Restore},
                                                                {"数据清理", DataOperation::Clearing},
                                                                {"系统初始", DataOperation::Initialisation}};
    for (const auto& [leaf, operation] : operations) {
        auto* panel = new DataOperationsPanel(context, operation, context.host);
        context.workspace.registerPanel(QString::fromUtf8(leaf), {nullptr, [panel] { panel->open(); }});
        panels.insert(QString::fromUtf8(leaf), panel);
    }
    return panels;
}

} // namespace sorrel::data
