#include "model/members.h"

void Members::addNumbers(const QStringList& values)
{
    for (const QString& number : values)
        numbers.insert(number);
}

void Members::setNumbers(const QStringList& values)
{
    numbers = QSet<QString>(values.cbegin(), values.cend());
}
