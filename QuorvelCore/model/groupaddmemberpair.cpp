#include "model/groupaddmemberpair.h"

void GroupAddMemberPair::addNumber(const QString& number)
{
    if (!numbers.contains(number))
        numbers.append(number);
}
