#include "widgets/emojigrid.h"

namespace EmojiGrid {
int panelHeight = 350;
int columns = 8;
int pageMargin = 5;
int pictureWidth = 24;
int buttonPadding = 16;
const int pageWidth = (5 + 8 * 20) * 2;
const int emojiPerPage = 8 * 4;
const int buttonSize = 16 + 24;
} // namespace EmojiGrid
