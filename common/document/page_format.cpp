#include "common/document/page_format.h"

namespace sorrel::document {

PageFormat PageFormat::a4() {
    return PageFormat{.name = QStringLiteral("A4"),
                      .paperWidthMm = 210,
                      .paperHeightMm = 297,
                      .marginLeftMm = 15,
                      .marginTopMm = 12,
                      .marginRightMm = 15,
                      .marginBottomMm = 12,
                      // 五号, the size of printed Chinese office text.
                      .basePointSize = 10.5,
                      .numberedPages = true};
}

PageFormat PageFormat::receiptRoll80() {
    // The print head covers 72 mm of the 80 mm paper; below the last line stays room for the
    // cutter. 9 points is close to the 24-dot font of a thermal printer: about 40 digits across.
    return PageFormat{.name = QStringLiteral("80mm"),
                      .paperWidthMm = 80,
                      .paperHeightMm = 0,
                      .marginLeftMm = 4,
                      .marginTopMm = 3,
                      .marginRightMm = 4,
                      .marginBottomMm = 8,
                      .basePointSize = 9,
                      .numberedPages = false};
}

} // namespace sorrel::document
