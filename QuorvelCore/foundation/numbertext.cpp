#include "foundation/numbertext.h"

QString NumberText::tierTextOne;
QString NumberText::tierTextThousand;
QString NumberText::tierTextMilion;
QString NumberText::tierTextBilion;

NumberText::NumberTier NumberText::getNumberTier(int count)
{
    if (count < 1000)
        return One;
    if (count < 1000000)
        return Thousand;
    if (count < 1000000000)
        return Million;
    return Billion;
}

int NumberText::getNumberTierBase(NumberTier tier)
{
    switch (tier) {
    case Thousand:
        return 1000;
    case Million:
        return 1000000;
    case Billion:
        return 1000000000;
    case One:
        break;
    }
    return 1;
}

QString NumberText::getNumberTierText(NumberTier tier)
{
    switch (tier) {
    case One:
        return tierTextOne;
    case Thousand:
        return tierTextThousand;
    case Million:
        return tierTextMilion;
    case Billion:
        return tierTextBilion;
    }
    return QString();
}

QString NumberText::getNumberTextInTier(int count)
{
    const NumberTier tier = getNumberTier(count);
    if (tier == One)
        return QString::number(count);
    return QString::number(double(count) / getNumberTierBase(tier), 'f', 1);
}

QString NumberText::getNumberText(int count)
{
    const NumberTier tier = getNumberTier(count);
    if (tier == One)
        return QString::number(count);
    return QStringLiteral("%1 %2").arg(getNumberTextInTier(count), getNumberTierText(tier));
}

void NumberText::setTierTexts(const QString& one, const QString& thousand, const QString& million,
                              const QString& billion)
{
    tierTextOne = one;
    tierTextThousand = thousand;
    tierTextMilion = million;
    tierTextBilion = billion;
}
