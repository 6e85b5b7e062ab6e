#include "Managers/Group/groupmanager.h"

GroupManager::GroupManager(QObject* parent) : AbstractManager(parent) {}

void GroupManager::startLoading()
{
    emit loadingFinished();
}
