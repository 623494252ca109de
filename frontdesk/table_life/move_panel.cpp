#include "frontdesk/table_life/move_panel.h"
#include "common/ui/guard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace sorrel::table_life {

MovePanel::MovePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnl_TableMove"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    caption_ = new QLabel(this);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("edt_MoveTarget"));
    field_->setMaxLength(3);
    field_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Za-z ]*")), field_));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("btn_MoveOk"));
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("btn_MoveCancel"));
    auto* row = new QHBoxLayout;
    row->addWidget(caption_);
    row->addWidget(field_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addLayout(buttons);
    setFixedSize(240, 90);
    hide();
    // Codes are kept in capitals, as the board shows them.
    ui::connectGuarded(field_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text != text.toUpper()) field_->setText(text.toUpper());
    });
    ui::connectGuarded(ok, &QPushButton::clicked, this, [this] { emit confirmed(field_->text().trimmed()); });
    ui::connectGuarded(field_, &QLineEdit::returnPressed, this,
                       [this] { emit confirmed(field_->text().trimmed()); });
    ui::connectGuarded(cancel, &QPushButton::clicked, this, &MovePanel::cancelled);
}

void MovePanel::ask(const QString& caption) {
    caption_->setText(caption);
    field_->clear();
    move(260, 100);
    show();
    raise();
    field_->setFocus();
}

void MovePanel::finish() {
    hide();
    field_->clear();
}

} // namespace sorrel::table_life
