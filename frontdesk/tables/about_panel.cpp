#include "frontdesk/tables/about_panel.h"

#include "common/ui/guard.h"
#include "common/ui/jpeg_image.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace sorrel::tables {

AboutPanel::AboutPanel(QWidget* parent)
    : TitledBox(QStringLiteral("pnl_about"), QStringLiteral("关于"), parent) {
    setFixedSize(338, 188);
    auto* logo = new QLabel(body());
    logo->setPixmap(QPixmap::fromImage(ui::productLogo()));
    logo->setFixedSize(96, 96);
    auto* lines = new QVBoxLayout;
    lines->addStretch();
    for (const QString& line : {QStringLiteral("岚舟管理系列 V9"), QStringLiteral("Build in ver 1210"),
                                QStringLiteral("For Windows Environment")})
        lines->addWidget(new QLabel(line, body()));
    lines->addStretch();
    auto* close = new QPushButton(QStringLiteral("关闭"), body());
    close->setAutoDefault(false);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(close);
    lines->addLayout(closeRow);

    auto* row = new QHBoxLayout(body());
    row->setContentsMargins(12, 6, 12, 8);
    row->setSpacing(16);
    row->addWidget(logo, 0, Qt::AlignVCenter);
    row->addLayout(lines, 1);
    ui::connectGuarded(close, &QPushButton::clicked, this, &TitledBox::closeClicked);
}

} // namespace sorrel::tables
