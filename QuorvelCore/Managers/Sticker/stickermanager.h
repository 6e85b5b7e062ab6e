#ifndef STICKERMANAGER_H
#define STICKERMANAGER_H

#include <QObject>

// The sticker service, created on the GUI thread. Nothing is cached yet.
class StickerManager : public QObject
{
    Q_OBJECT
public:
    static StickerManager* getInstance();
    static void deleteInstance();

private:
    StickerManager() = default;
};

#endif // STICKERMANAGER_H
