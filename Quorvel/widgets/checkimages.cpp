#include "widgets/checkimages.h"

#include "widgets/interfacescale.h"
#include "widgets/pixmapcaching.h"

namespace {
CheckImages make(const QStringList& keys, const QStringList& paths)
{
    CheckImages images{keys.at(0), keys.at(1), keys.at(2), keys.at(3), {}};
    for (int i = 0; i < keys.size(); ++i)
        images.keyToPath.insert(keys.at(i), paths.at(i));
    return images;
}
} // namespace

const CheckImages& CheckImages::checkBox()
{
    static const CheckImages images =
        make({QStringLiteral("cacheCheckboxChecked"), QStringLiteral("cacheCheckboxCheckedDisbled"),
              QStringLiteral("cacheCheckboxUNChecked"),
              QStringLiteral("cacheCheckboxUNCheckedDisabled")},
             {QStringLiteral(":/Images/check_box.png"),
              QStringLiteral(":/Images/check_box_disabled.png"),
              QStringLiteral(":/Images/check_box_outline_blank.png"),
              QStringLiteral(":/Images/check_box_outline_blank_disabled.png")});
    return images;
}

const CheckImages& CheckImages::radioButton()
{
    static const CheckImages images =
        make({QStringLiteral("radioButtonImageChecked"),
              QStringLiteral("radioButtonImageCheckedDisabled"),
              QStringLiteral("radioButtonImageUnChecked"),
              QStringLiteral("radioButtonImageUnCheckedDisabled")},
             {QStringLiteral(":/Images/radioButtonChecked.png"),
              QStringLiteral(":/Images/radioButtonChecked_disabled.png"),
              QStringLiteral(":/Images/radioButton.png"),
              QStringLiteral(":/Images/radioButton_disabled.png")});
    return images;
}

QString CheckImages::keyFor(bool isChecked, bool enabled) const
{
    if (isChecked)
        return enabled ? checked : checkedDisabled;
    return enabled ? unchecked : uncheckedDisabled;
}

QPixmap CheckImages::pixmapFor(bool isChecked, bool enabled) const
{
    const QString key = keyFor(isChecked, enabled);
    return cachedPixmap(key, keyToPath.value(key), QSize(checkIconSize, checkIconSize));
}

void CheckImages::cacheAll() const
{
    cachePixmaps(keyToPath, QSize(checkIconSize, checkIconSize));
}
