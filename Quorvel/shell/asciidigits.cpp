#include "shell/asciidigits.h"

QString toAsciiDigits(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const ushort u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9) // Persian
            c = QChar('0' + (u - 0x06F0));
        else if (u >= 0x0660 && u <= 0x0669) // Arabic-Indic
            c = QChar('0' + (u - 0x0660));
    }
    return out;
}

QString normalizePhoneNumber(const QString& typed)
{
    QString digits = toAsciiDigits(typed.trimmed());
    if (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return QStringLiteral("98") + digits;
}
