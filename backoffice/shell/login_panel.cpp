#include "backoffice/shell/login_panel.h"

#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/ui/login_fields.h"
#include "common/ui/titled_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace sorrel::backoffice {

LoginPanel::LoginPanel(const panels::BackOfficeContext& context)
    : QWidget(context.host), session_(context.session) {
    setObjectName(QStringLiteral("pnl_Login"));
    // The "×" of this box does nothing: only "退出" leaves.
    auto* box = new ui::TitledBox(QStringLiteral("pnl_login_box"), QStringLiteral("系统登录"), this);
    box->setFixedSize(338, 168);
    QWidget* body = box->body();

    operator_ = new QLineEdit(body);
    operator_->setObjectName(QStringLiteral("edt_operator"));
    password_ = new QLineEdit(body);
    password_->setObjectName(QStringLiteral("edt_password"));
    for (QLineEdit* field : {operator_, password_})
        ui::refuseWildcards(field);
    ui::maskWithHash(password_);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("操作员工"), body), 0, 0);
    grid->addWidget(operator_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("操作密码"), body), 1, 0);
    grid->addWidget(password_, 1, 1);
    const auto [ok, quit] = ui::layOutLoginBox(body, grid);

    auto* centre = new QGridLayout(this);
    centre->addWidget(box, 0, 0, Qt::AlignCenter);

    ui::connectGuarded(ok, &QPushButton::clicked, this, &LoginPanel::confirm);
    ui::connectGuarded(quit, &QPushButton::clicked, this, &LoginPanel::exitRequested);
    ui::connectGuarded(password_, &QLineEdit::returnPressed, this, &LoginPanel::confirm);
}

void LoginPanel::focusOperator() {
    operator_->setFocus();
}

void LoginPanel::confirm() {
    if (session_.logInWithoutShift(operator_->text(), password_->text(), progress_) !=
        LoginResult::Accepted) {
        messages::information(kUnknownOperatorMessage);
        operator_->setFocus();
        return;
    }
    password_->clear();
    emit accepted();
}

} // namespace sorrel::backoffice
