// The one typeface of every printed document: an outline font with Simplified Chinese glyphs,
// so a bill reads the same on every printer and its PDF carries the font inside.
#pragma once

#include <QString>

namespace sorrel::ui::print {

// The first installed of the CJK families we know print well (WenQuanYi Micro Hei first),
// else any scalable family with Chinese glyphs. Needs the application object.
QString printFontFamily();

} // namespace sorrel::ui::print
