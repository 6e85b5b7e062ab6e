#ifndef NUMBERTEXT_H
#define NUMBERTEXT_H

#include "foundation/quorvelcore_export.h"

#include <QString>

// Short texts for counters: "999", "1.5 thousand", with the tier words set by the GUI.
class QUORVELCORE_EXPORT NumberText
{
public:
    enum NumberTier
    {
        One = 0,
        Thousand = 1,
        Million = 2,
        Billion = 3
    };

    static NumberTier getNumberTier(int count);
    static int getNumberTierBase(NumberTier tier);
    static QString getNumberTierText(NumberTier tier);
    static QString getNumberTextInTier(int count);
    static QString getNumberText(int count);
    static void setTierTexts(const QString& one, const QString& thousand, const QString& million,
                             const QString& billion);

private:
    static QString tierTextOne;
    static QString tierTextThousand;
    static QString tierTextMilion;
    static QString tierTextBilion;
};

#endif // NUMBERTEXT_H
