// The paper a document is printed on: its size, margins and the text size that reads well on
// it. A4 sheets for the office and the 80 mm receipt roll of the cash desk.
#pragma once

#include <QString>

namespace sorrel::document {

struct PageFormat {
    QString name;
    double paperWidthMm = 0;
    // 0 for a roll: the page is as tall as what is printed on it.
    double paperHeightMm = 0;
    double marginLeftMm = 0;
    double marginTopMm = 0;
    double marginRightMm = 0;
    double marginBottomMm = 0;
    // The size of normal text in points; titles and small print scale from it.
    double basePointSize = 10;
    // Sheets carry "第 n 页 / 共 m 页" at their foot; a roll has no pages to count.
    bool numberedPages = false;

    bool continuous() const { return paperHeightMm <= 0; }
    double printableWidthMm() const { return paperWidthMm - marginLeftMm - marginRightMm; }

    // A4 portrait, 180 mm of text across.
    static PageFormat a4();
    // The 80 mm thermal roll: 72 mm printable, cut after the content.
    static PageFormat receiptRoll80();
};

} // namespace sorrel::document
