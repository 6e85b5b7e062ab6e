#ifndef POLLMANAGER_H
#define POLLMANAGER_H

#include "model/uisetting.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>

// The poll service, created on the GUI thread. This build holds only the
// credentials poll requests need; it sends no requests yet.
class PollManager : public QObject
{
    Q_OBJECT
public:
    static PollManager* getInstance();
    static void deleteInstance();

    void setSetting(const UISetting& setting) { this->setting = setting; }
    UISetting getSetting() const { return setting; }

public slots:
    void processReply(Procedure, const QJsonObject&) {}
    void result(Procedure, int) {}

signals:
    void start(Procedure procedure, const QHash<QString, QJsonValue>& inputs);

private:
    PollManager() = default;
    UISetting setting;
};

#endif // POLLMANAGER_H
