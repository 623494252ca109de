#include "common/ui/titled_box.h"
#include "common/ui/guard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::ui {

TitledBox::TitledBox(const QString& objectName, const QString& title, QWidget* parent) : QFrame(parent) {
    setObjectName(objectName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);

    auto* strip = new QWidget(this);
    strip->setAttribute(Qt::WA_StyledBackground);
    strip->setStyleSheet(QStringLiteral("background: #285e70; color: white;"));
    strip->setFixedHeight(22);
    auto* x = new QToolButton(strip);
    x->setText(QStringLiteral("×"));
    x->setAutoRaise(true);
    x->setFocusPolicy(Qt::NoFocus);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(8, 0, 2, 0);
    row->addWidget(new QLabel(title, strip));
    row->addStretch();
    row->addWidget(x);

    body_ = new QWidget(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(0);
    column->addWidget(strip);
    column->addWidget(body_, 1);
    ui::connectGuarded(x, &QToolButton::clicked, this, &TitledBox::closeClicked);
}

} // namespace sorrel::ui
