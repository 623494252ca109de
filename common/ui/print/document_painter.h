// Paints a laid-out document page by page with a painter already begun on the device it was
// laid out for: the rules, the cells' text and the page numbers.
#pragma once

#include "common/ui/print/document_layout.h"

class QPainter;

namespace sorrel::ui::print {

// Paints page `page` (from 0) with its top left corner at the painter's origin.
// `devicePaintsBold`: false for the preview, which loses the bold a printer or a PDF draws for
// a font without a bold face; bold text is then struck twice, a hair apart.
void paintPage(QPainter& painter, const DocumentLayout& layout, int page, bool devicePaintsBold);

} // namespace sorrel::ui::print
