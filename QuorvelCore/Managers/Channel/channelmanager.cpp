#include "Managers/Channel/channelmanager.h"

ChannelManager::ChannelManager(QObject* parent) : AbstractManager(parent) {}

void ChannelManager::startLoading()
{
    emit loadingFinished();
}
