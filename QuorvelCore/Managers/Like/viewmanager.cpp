#include "Managers/Like/viewmanager.h"

ViewManager::ViewManager(QObject* parent) : QObject(parent)
{
    setup();
}

void ViewManager::setup()
{
    timer.setSingleShot(false);
    connect(&timer, &QTimer::timeout, this, &ViewManager::sendViews, Qt::UniqueConnection);
    timer.start(kInterval);
}
