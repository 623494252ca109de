// The bold captions of the day screens: their titles and the totals under the handover sheet.
#pragma once

#include <QLabel>

namespace sorrel::day {

inline QLabel* boldLabel(const QString& text, int pixelSize, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace sorrel::day
