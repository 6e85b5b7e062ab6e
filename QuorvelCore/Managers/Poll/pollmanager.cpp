#include "Managers/Poll/pollmanager.h"

#include <QMutex>

namespace {
PollManager* pollManagerInstance = nullptr;
QMutex pollManagerMutex;
} // namespace

PollManager* PollManager::getInstance()
{
    QMutexLocker lock(&pollManagerMutex);
    if (!pollManagerInstance)
        pollManagerInstance = new PollManager();
    return pollManagerInstance;
}

void PollManager::deleteInstance()
{
    QMutexLocker lock(&pollManagerMutex);
    delete pollManagerInstance;
    pollManagerInstance = nullptr;
}
