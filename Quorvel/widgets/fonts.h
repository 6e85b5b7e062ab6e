#ifndef FONTS_H
#define FONTS_H

#include <QFont>
#include <QMap>
#include <QString>

// The program's built-in font files, registered once, and a font for a wanted
// line height. A file that cannot be registered leaves its member on the
// application's default family.
class Fonts
{
public:
    static Fonts* getInstance();
    static void deleteInstance();

    // The largest known font whose line height does not exceed the height;
    // the regular font at its default size below the smallest one.
    static QFont getFont(int height);
    static int fontHeight(const QFont& font);

    // Registers one font file; the first family it reports, or an empty
    // string when the file is missing or not a font.
    static QString registerFontFile(const QString& path);

    QFont regular;
    QFont persianDigits;
    QFont bold;
    QFont light;
    QFont medium;
    QFont ultraLight;
    QFont secondFamily;

private:
    Fonts();
    QFont fontForHeight(int height) const;

    QMap<int, QFont> heights;
    static Fonts* instance;
};

#endif // FONTS_H
