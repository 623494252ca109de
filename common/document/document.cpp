#include "common/document/document.h"

namespace sorrel::document {

Column Column::text(const QString& title, double share, int minChars) {
    return Column{title, share, minChars, Align::Left, NumberFormat::Text, false};
}

Column Column::centred(const QString& title, double share, int minChars) {
    return Column{title, share, minChars, Align::Center, NumberFormat::Text, false};
}

Column Column::money(const QString& title, double share, int minChars) {
    return Column{title, share, minChars, Align::Right, NumberFormat::Money, false};
}

Column Column::quantity(const QString& title, double share, int minChars) {
    return Column{title, share, minChars, Align::Right, NumberFormat::Quantity, false};
}

Column Column::summing() const {
    Column c = *this;
    c.summed = true;
    return c;
}

Cell Cell::spanning(int columns) const {
    Cell c = *this;
    c.span = columns;
    return c;
}

Cell Cell::styled(const TextStyle& style) const {
    Cell c = *this;
    c.style = style;
    return c;
}

} // namespace sorrel::document
