#ifndef EMOJIGRID_H
#define EMOJIGRID_H

// Layout constants of the emoji picker. The derived values are computed once
// from the start values; later changes of the picture width do not move them.
namespace EmojiGrid {
extern int panelHeight;
extern int columns;
extern int pageMargin;
extern int pictureWidth; // an emoji button sets it to its loaded picture's width
extern int buttonPadding;
extern const int pageWidth;
extern const int emojiPerPage;
extern const int buttonSize;
} // namespace EmojiGrid

#endif // EMOJIGRID_H
