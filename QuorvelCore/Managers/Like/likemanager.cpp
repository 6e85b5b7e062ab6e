#include "Managers/Like/likemanager.h"

LikeManager::LikeManager(QObject* parent) : AbstractManager(parent) {}

void LikeManager::startLoading()
{
    emit loadingFinished();
}
