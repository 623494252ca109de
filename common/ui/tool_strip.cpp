#include "common/ui/tool_strip.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <stdexcept>

namespace sorrel::ui {

namespace {

constexpr int kButtonWidth = 64;

} // namespace

ToolStrip::ToolStrip(const QString& objectName, const QList<ToolButtonEntry>& tools, QWidget* parent)
    : QWidget(parent) {
    setObjectName(objectName);
    setFixedHeight(kHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(1);
    for (const ToolButtonEntry& entry : tools) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(entry.objectName));
        b->setText(entry.caption);
        b->setIcon(style()->standardIcon(entry.icon));
        b->setIconSize(QSize(24, 24));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFixedSize(kButtonWidth, kHeight - 2);
        // The keyboard stays in the fields; the buttons are for the mouse and the shortcut keys.
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(true);
        row->addWidget(b);
        buttons_.append(b);
    }
    row->addStretch();
}

QToolButton* ToolStrip::button(const char* objectName) const {
    const QString name = QString::fromLatin1(objectName);
    for (QToolButton* b : buttons_)
        if (b->objectName() == name) return b;
    throw std::logic_error(std::string("no toolbar button named ") + objectName);
}

void ToolStrip::setLive(bool live) {
    setEnabled(live);
    for (QToolButton* b : buttons_)
        b->setAutoRaise(live);
}

} // namespace sorrel::ui
