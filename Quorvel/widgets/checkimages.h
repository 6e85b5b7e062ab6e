#ifndef CHECKIMAGES_H
#define CHECKIMAGES_H

#include <QMap>
#include <QPixmap>
#include <QString>

// The four pictures of a check box or radio button (checked or not, enabled
// or not), shared by every instance through QPixmapCache.
struct CheckImages
{
    QString checked;
    QString checkedDisabled;
    QString unchecked;
    QString uncheckedDisabled;
    QMap<QString, QString> keyToPath;

    static const CheckImages& checkBox();
    static const CheckImages& radioButton();

    QString keyFor(bool isChecked, bool enabled) const;
    // The picture of a state at the check-icon size, loaded when absent.
    QPixmap pixmapFor(bool isChecked, bool enabled) const;
    void cacheAll() const;
};

#endif // CHECKIMAGES_H
