#include "iconrenderer.h"

#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QRegularExpression>
#include <QTextStream>

bool IconRenderer::loadFont(const QString& fontFile, const QString& glyphNamesFile, QString* error)
{
    const int id = QFontDatabase::addApplicationFont(fontFile);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        *error = QStringLiteral("icon font %1 did not load").arg(fontFile);
        return false;
    }
    family = families.first();

    QFile names(glyphNamesFile);
    if (!names.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1").arg(glyphNamesFile);
        return false;
    }
    static const QRegularExpression line(QStringLiteral("\"([a-z0-9_]+)\"\\s*:\\s*([0-9a-fA-F]+)"));
    auto it = line.globalMatch(QString::fromUtf8(names.readAll()));
    while (it.hasNext()) {
        const auto m = it.next();
        codePoints.insert(m.captured(1), m.captured(2).toUInt(nullptr, 16));
    }
    if (codePoints.isEmpty()) {
        *error = QStringLiteral("no glyph names in %1").arg(glyphNamesFile);
        return false;
    }
    return true;
}

bool IconRenderer::readTable(const QString& tableFile, QVector<Icon>* icons, QString* error)
{
    QFile file(tableFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1").arg(tableFile);
        return false;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    int lineNumber = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('|'));
        Icon icon;
        if (fields.size() >= 4) {
            icon.resourceName = fields[0].trimmed();
            icon.glyph = fields[1].trimmed();
            icon.colour = QColor(fields[2].trimmed());
            icon.size = fields[3].trimmed().toInt();
            if (fields.size() >= 5)
                icon.disc = QColor(fields[4].trimmed());
        }
        if (icon.resourceName.isEmpty() || !icon.colour.isValid() || icon.size <= 0 ||
            (fields.size() >= 5 && !icon.disc.isValid())) {
            *error = QStringLiteral("%1:%2: malformed icon line").arg(tableFile).arg(lineNumber);
            return false;
        }
        icons->append(icon);
    }
    return true;
}

bool IconRenderer::render(const Icon& icon, QImage* image, QString* error) const
{
    const auto code = codePoints.constFind(icon.glyph);
    if (code == codePoints.cend()) {
        *error = QStringLiteral("no glyph named %1 for %2").arg(icon.glyph, icon.resourceName);
        return false;
    }
    QImage out(icon.size, icon.size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    int glyphSize = icon.size;
    if (icon.disc.isValid()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(icon.disc);
        painter.drawEllipse(QRectF(0, 0, icon.size, icon.size));
        glyphSize = icon.size * 5 / 8;
    }
    font.setPixelSize(glyphSize);
    painter.setFont(font);
    painter.setPen(icon.colour);
    const uint cp = code.value();
    painter.drawText(QRect(0, 0, icon.size, icon.size), Qt::AlignCenter, QString::fromUcs4(&cp, 1));
    painter.end();
    *image = out;
    return true;
}
