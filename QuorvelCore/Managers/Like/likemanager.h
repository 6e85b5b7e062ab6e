#ifndef LIKEMANAGER_H
#define LIKEMANAGER_H

#include "foundation/abstractmanager.h"
#include "model/likepair.h"
#include "model/lvreply.h"
#include "model/lvrequest.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>

// Likes and views of channel messages. This build sends no like requests
// yet: the manager ends the loading chain and ignores what it is sent.
class LikeManager : public AbstractManager
{
    Q_OBJECT
public:
    explicit LikeManager(QObject* parent = nullptr);

    void processReply(Procedure, const QJsonObject&) {}
    void getLikes(const LVRequest&) {}
    void addLike(const LikePair&) {}

public slots:
    void startLoading() override;

signals:
    void start(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void likeGetResults(const LVReply& reply);
};

#endif // LIKEMANAGER_H
