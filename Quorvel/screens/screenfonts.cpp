#include "screens/screenfonts.h"

#include "widgets/fonts.h"

namespace ScreenFonts {

QFont digits(int pointSize)
{
    QFont font = Fonts::getInstance()->persianDigits;
    font.setPointSize(pointSize);
    return font;
}

QFont bold(int pointSize)
{
    QFont font = Fonts::getInstance()->bold;
    font.setWeight(QFont::Bold);
    font.setPointSize(pointSize);
    return font;
}

QFont regular()
{
    return Fonts::getInstance()->regular;
}

} // namespace ScreenFonts
