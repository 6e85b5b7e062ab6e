#include "widgets/phonetext.h"

#include "Managers/Contact/contact.h"
#include "widgets/biditext.h"

namespace {
const QChar kLeftToRight(0x2066);
const QChar kEnd(0x2069);
} // namespace

bool PhoneText::isNumber(const QString& id)
{
    const int start = id.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (id.size() <= start)
        return false;
    for (int i = start; i < id.size(); ++i) {
        const QChar c = id.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString PhoneText::number(const QString& digits)
{
    if (!isNumber(digits))
        return BidiText::visibleControls(digits);
    const QString plus = digits.startsWith(QLatin1Char('+')) ? digits : QLatin1Char('+') + digits;
    return kLeftToRight + plus + kEnd;
}

QString PhoneText::nameOr(const QString& name, const QString& userId)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return number(userId);
    // Already shown as a number.
    if (trimmed.size() > 2 && trimmed.startsWith(kLeftToRight) && trimmed.endsWith(kEnd) &&
        isNumber(trimmed.mid(1, trimmed.size() - 2)))
        return trimmed;
    // A number standing for the name ("+98...", or the id itself) reads as
    // every other number.
    const bool standsForNumber =
        isNumber(trimmed) && (trimmed.startsWith(QLatin1Char('+')) || trimmed == userId);
    return standsForNumber ? number(trimmed) : BidiText::visibleControls(trimmed);
}

QString PhoneText::name(const Contact& contact)
{
    return nameOr(contact.getDisplayName(), contact.getNumber());
}
