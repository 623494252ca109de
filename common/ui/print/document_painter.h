// Paints a laid-out document page by page with a painter already begun on the device it was
// laid out for: the rules, the cells' text and the page numbers.
#pragma once

#include "common/ui/print/document_layout.h"

class QPainter;

namespace sorrel::ui::print {

// Paints page `page` (from 0) with its top left corner at the painter's origin.
// `devicePaintsBold`: false for the preview, which loses the bold a printer or a PDF draws for
// a font without a bold face; bold text is then struck twice, a hair apart.
// Only for a layout that kept its text.
void paintPage(QPainter& painter, const DocumentLayout& layout, int page, bool devicePaintsBold);

// Paints every page of the document's layout: the first where the painter stands, each further
// one after `newPage` has begun it (false: the device could not, and painting stops there). A
// layout without its text has its rows placed again from `document`, one at a time, so a year's
// list is never held whole. Answers whether every page was begun.
bool paintPages(QPainter& painter, const DocumentLayout& layout, const document::DocumentStream& document,
                const QPaintDevice* device, bool devicePaintsBold, const std::function<bool()>& newPage);

} // namespace sorrel::ui::print
