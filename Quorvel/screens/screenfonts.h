#ifndef SCREENFONTS_H
#define SCREENFONTS_H

#include <QFont>

// The fonts of the contact, group and channel screens: copies of the
// application's fonts at the point sizes the screens name.
namespace ScreenFonts {
// The family with Persian digits (forms, profiles).
QFont digits(int pointSize);
// The bold family at weight 75 (form buttons).
QFont bold(int pointSize);
// The regular family at its own size (rows of lists).
QFont regular();
} // namespace ScreenFonts

#endif // SCREENFONTS_H
