#include "Managers/Sticker/stickermanager.h"

#include <QMutex>

namespace {
StickerManager* stickerManagerInstance = nullptr;
QMutex stickerManagerMutex;
} // namespace

StickerManager* StickerManager::getInstance()
{
    QMutexLocker lock(&stickerManagerMutex);
    if (!stickerManagerInstance)
        stickerManagerInstance = new StickerManager();
    return stickerManagerInstance;
}

void StickerManager::deleteInstance()
{
    QMutexLocker lock(&stickerManagerMutex);
    delete stickerManagerInstance;
    stickerManagerInstance = nullptr;
}
