#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QString>
#include <QVector>

// Draws icons from an icon font whose glyphs are named in a style-variables file
// ("name": hexcode lines). One line of the icon table gives the resource name, the
// glyph name, the colour, the square size in pixels and an optional disc colour.
class IconRenderer
{
public:
    struct Icon
    {
        QString resourceName;
        QString glyph;
        QColor colour;
        int size = 0;
        QColor disc; // invalid: no disc behind the glyph
    };

    bool loadFont(const QString& fontFile, const QString& glyphNamesFile, QString* error);
    static bool readTable(const QString& tableFile, QVector<Icon>* icons, QString* error);
    bool render(const Icon& icon, QImage* image, QString* error) const;

private:
    QString family;
    QHash<QString, uint> codePoints;
};
