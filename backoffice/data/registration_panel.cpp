#include "backoffice/data/registration_panel.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/system_password.h"
#include "common/ui/guard.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sorrel::data {

RegistrationPanel::RegistrationPanel(const panels::BackOfficeContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Register"));
    auto* namesBox = new QGroupBox(QStringLiteral("用户信息"), this);
    auto* namesGrid = new QGridLayout(namesBox);
    namesGrid->setVerticalSpacing(10);
    const QList<NameField>& fields = nameFields();
    for (int i = 0; i < fields.size(); ++i) {
        auto* edit = new QLineEdit(namesBox);
        edit->setObjectName(QStringLiteral("dbe_") + fields[i].column);
        edit->setMaxLength(fields[i].length);
        namesGrid->addWidget(new QLabel(fields[i].caption, namesBox), i, 0);
        namesGrid->addWidget(edit, i, 1);
        names_ << edit;
        const QString column = fields[i].column;
        ui::connectGuarded(edit, &QLineEdit::textChanged, this, [this, column](const QString& text) {
            if (!showing_) stored_.set(column, text);
        });
    }
    namesGrid->setColumnStretch(1, 1);

    auto* passwordBox = new QGroupBox(QStringLiteral("系统管理密码"), this);
    auto* passwordGrid = new QGridLayout(passwordBox);
    password_ = new QLineEdit(passwordBox);
    password_->setObjectName(QStringLiteral("edt_SystemPassword"));
    confirmation_ = new QLineEdit(passwordBox);
    confirmation_->setObjectName(QStringLiteral("edt_SystemPasswordAgain"));
    for (QLineEdit* edit : {password_, confirmation_}) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setMaxLength(30);
    }
    confirm_ = new QPushButton(QStringLiteral("确定"), passwordBox);
    confirm_->setObjectName(QStringLiteral("btn_SystemPassword"));
    passwordGrid->addWidget(new QLabel(QStringLiteral("系统管理密码："), passwordBox), 0, 0);
    passwordGrid->addWidget(password_, 0, 1);
    passwordGrid->addWidget(new QLabel(QStringLiteral("再输入一次："), passwordBox), 1, 0);
    passwordGrid->addWidget(confirmation_, 1, 1);
    passwordGrid->addWidget(confirm_, 1, 2);
    passwordGrid->setColumnStretch(1, 1);
    ui::connectGuarded(confirm_, &QPushButton::clicked, this, &RegistrationPanel::setPassword);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 16, 24, 16);
    column->setSpacing(16);
    column->addWidget(namesBox);
    column->addWidget(passwordBox);
    column->addStretch();
}

void RegistrationPanel::open() {
    stored_ = BusinessNames::load(context_.db);
    showNames();
    password_->clear();
    confirmation_->clear();
    names_.first()->setFocus();
}

void RegistrationPanel::showNames() {
    showing_ = true;
    const QList<NameField>& fields = nameFields();
    for (int i = 0; i < fields.size(); ++i)
        names_[i]->setText(stored_.value(fields[i].column));
    showing_ = false;
}

void RegistrationPanel::save() {
    try {
        stored_.save(context_.db);
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        stored_ = BusinessNames::load(context_.db);
    }
    showNames();
}

void RegistrationPanel::cancel() {
    stored_.cancel();
    showNames();
}

void RegistrationPanel::setPassword() {
    if (password_->text().trimmed().isEmpty() && confirmation_->text().trimmed().isEmpty() &&
        !messages::ask(kEmptySystemPasswordQuestion))
        return;
    try {
        setSystemPassword(context_.db, password_->text(), confirmation_->text());
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
        confirmation_->clear();
        confirmation_->setFocus();
        return;
    }
    password_->clear();
    confirmation_->clear();
    messages::information(kSystemPasswordChangedMessage);
}

} // namespace sorrel::data
