#include "frontdesk/tables/login_panel.h"

#include "common/messages.h"
#include "common/ui/guard.h"
#include "common/ui/login_fields.h"
#include "common/ui/titled_box.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::tables {

namespace {

// The key drawn on the password-change button.
QIcon keyIcon() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 110, 20), 2));
    p.setBrush(QColor(230, 190, 60));
    p.drawEllipse(QRectF(1.5, 4.5, 7, 7));
    p.drawLine(QPointF(8.5, 8), QPointF(15, 8));
    p.drawLine(QPointF(12.5, 8), QPointF(12.5, 11));
    p.drawLine(QPointF(14.5, 8), QPointF(14.5, 10.5));
    return QIcon(picture);
}

QLineEdit* loginField(QWidget* parent, bool masked) {
    auto* field = new QLineEdit(parent);
    ui::refuseWildcards(field);
    if (masked) ui::maskWithHash(field);
    return field;
}

} // namespace

LoginBox::LoginBox(LoginSession& session, QWidget* parent) : QFrame(parent), session_(session) {
    setObjectName(QStringLiteral("pnl_login"));
    setFixedSize(338, 188);

    auto* frame = new ui::TitledBox(QStringLiteral("pnl_login_box"), QStringLiteral("系统登录"), this);
    frame->setGeometry(rect());
    QWidget* body = frame->body();
    ui::connectGuarded(frame, &ui::TitledBox::closeClicked, this, &LoginBox::exitRequested);

    shift_ = new QComboBox(body);
    shift_->setObjectName(QStringLiteral("cmb_shift"));
    for (const ShiftEntry& s : session_.shifts())
        shift_->addItem(s.name, s.code);
    operator_ = loginField(body, false);
    operator_->setObjectName(QStringLiteral("edt_operator"));
    password_ = loginField(body, true);
    password_->setObjectName(QStringLiteral("edt_password"));
    auto* key = new QToolButton(body);
    key->setObjectName(QStringLiteral("btn_modify"));
    key->setIcon(keyIcon());
    key->setToolTip(QStringLiteral("修改密码"));
    key->setFocusPolicy(Qt::NoFocus);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("班    次"), body), 0, 0);
    grid->addWidget(shift_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("操作员工"), body), 1, 0);
    grid->addWidget(operator_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("操作密码"), body), 2, 0);
    grid->addWidget(password_, 2, 1);
    grid->addWidget(key, 2, 2);
    const auto [ok, quit] = ui::layOutLoginBox(body, grid);
    setTabOrder(shift_, operator_);
    setTabOrder(operator_, password_);
    setTabOrder(password_, ok);
    setTabOrder(ok, quit);

    ui::connectGuarded(ok, &QPushButton::clicked, this, &LoginBox::confirm);
    ui::connectGuarded(quit, &QPushButton::clicked, this, &LoginBox::exitRequested);
    ui::connectGuarded(password_, &QLineEdit::returnPressed, this, &LoginBox::confirm);
    ui::connectGuarded(key, &QToolButton::clicked, this, &LoginBox::openPasswordChange);

    // The password-change box covers the login box while it is open.
    modify_ = new ui::TitledBox(QStringLiteral("pnl_modify"), QStringLiteral("修改密码"), this);
    modify_->setGeometry(rect());
    QWidget* modifyBody = modify_->body();
    modifyOperator_ = loginField(modifyBody, false);
    modifyPassword_ = loginField(modifyBody, true);
    newPassword_ = loginField(modifyBody, true);
    confirmation_ = loginField(modifyBody, true);
    auto* modifyGrid = new QGridLayout;
    const QList<std::pair<QString, QLineEdit*>> rows = {{QStringLiteral("操作员工"), modifyOperator_},
                                                        {QStringLiteral("操作密码"), modifyPassword_},
                                                        {QStringLiteral("更新密码"), newPassword_},
                                                        {QStringLiteral("确认密码"), confirmation_}};
    for (int i = 0; i < rows.size(); ++i) {
        modifyGrid->addWidget(new QLabel(rows[i].first, modifyBody), i, 0);
        modifyGrid->addWidget(rows[i].second, i, 1);
    }
    auto* modifyOk = new QPushButton(QStringLiteral("确定"), modifyBody);
    auto* modifyBack = new QPushButton(QStringLiteral("回退"), modifyBody);
    for (QPushButton* b : {modifyOk, modifyBack})
        b->setAutoDefault(false);
    auto* modifyButtons = new QVBoxLayout;
    modifyButtons->addStretch();
    modifyButtons->addWidget(modifyOk);
    modifyButtons->addWidget(modifyBack);
    modifyButtons->addStretch();
    auto* modifyRow = new QHBoxLayout(modifyBody);
    modifyRow->setContentsMargins(16, 4, 16, 4);
    modifyRow->setSpacing(16);
    modifyRow->addLayout(modifyGrid, 1);
    modifyRow->addLayout(modifyButtons);
    modify_->hide();
    ui::connectGuarded(modifyOk, &QPushButton::clicked, this, &LoginBox::confirmPasswordChange);
    ui::connectGuarded(modifyBack, &QPushButton::clicked, modify_, &QWidget::hide);
    ui::connectGuarded(modify_, &ui::TitledBox::closeClicked, modify_, &QWidget::hide);
}

void LoginBox::reset() {
    shift_->setCurrentIndex(-1);
    operator_->clear();
    password_->clear();
    modify_->hide();
}

void LoginBox::focusShiftList() {
    shift_->setFocus();
}

void LoginBox::confirm() {
    const QString shiftCode = shift_->currentIndex() >= 0 ? shift_->currentData().toString() : QString();
    switch (session_.logIn(shiftCode, operator_->text(), password_->text(), progress_)) {
    case LoginResult::NoShift:
        messages::information(kChooseShiftMessage);
        shift_->setFocus();
        return;
    case LoginResult::UnknownOperator:
        messages::information(kUnknownOperatorMessage);
        operator_->setFocus();
        return;
    case LoginResult::Accepted:
        emit accepted();
        return;
    }
}

void LoginBox::openPasswordChange() {
    if (!session_.identifyForPasswordChange(operator_->text(), password_->text())) {
        messages::information(kIdentifyFirstMessage);
        return;
    }
    for (QLineEdit* field : {modifyOperator_, modifyPassword_, newPassword_, confirmation_})
        field->clear();
    modify_->show();
    modify_->raise();
    modifyOperator_->setFocus();
}

void LoginBox::confirmPasswordChange() {
    if (!session_.changePassword(modifyOperator_->text(), modifyPassword_->text(), newPassword_->text(),
                                 confirmation_->text())) {
        messages::information(kPasswordChangeRefusedMessage);
        return;
    }
    modify_->hide();
    password_->setFocus();
}

} // namespace sorrel::tables
