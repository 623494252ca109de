#include "common/ui/splash_window.h"

#include "common/ui/jpeg_image.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace sorrel::ui {

SplashWindow::SplashWindow(const QString& tag, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("FormSplash"));
    setFixedSize(426, 118);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#FormSplash { background: white; border: 1px solid #808080; }"));
    setAttribute(Qt::WA_StyledBackground);

    auto* logo = new QLabel(this);
    logo->setPixmap(QPixmap::fromImage(productLogo()));
    logo->setFixedSize(96, 96);

    auto* name = new QLabel(QStringLiteral("岚舟餐饮管理系统"), this);
    QFont big = name->font();
    big.setPixelSize(26);
    big.setBold(true);
    name->setFont(big);
    name->setStyleSheet(QStringLiteral("color: #285e70;"));
    auto* edition = new QLabel(QStringLiteral("Zirora R9.0-A"), this);
    auto* program = new QLabel(tag, this);
    program->setStyleSheet(QStringLiteral("color: #a83c28;"));

    auto* lines = new QVBoxLayout;
    lines->addStretch();
    lines->addWidget(name);
    auto* foot = new QHBoxLayout;
    foot->addWidget(edition);
    foot->addStretch();
    foot->addWidget(program);
    lines->addLayout(foot);
    lines->addStretch();

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(11, 11, 16, 11);
    row->setSpacing(16);
    row->addWidget(logo);
    row->addLayout(lines, 1);
}

void SplashWindow::showNow() {
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    repaint();
    QApplication::processEvents();
}

} // namespace sorrel::ui
