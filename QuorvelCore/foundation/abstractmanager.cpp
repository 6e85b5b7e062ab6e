#include "foundation/abstractmanager.h"

AbstractManager::AbstractManager(QObject* parent) : QObject(parent) {}
