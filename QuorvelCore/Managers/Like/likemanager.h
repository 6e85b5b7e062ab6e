#ifndef LIKEMANAGER_H
#define LIKEMANAGER_H

#include "foundation/abstractmanager.h"
#include "foundation/quorvelcore_export.h"
#include "model/likepair.h"
#include "model/lvreply.h"
#include "model/lvrequest.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QTimer>

class DataBase;

// Sends the user's likes of messages and fetches like counts, both batched by
// timers. Likes wait in "likeManagerDB" until the service has confirmed them,
// so neither a failed send nor a restart loses one. Count requests of one chat
// are merged; a batch holds at most 99 ids, and a chat with more is fetched in
// pieces and answered once, with all its counts.
class QUORVELCORE_EXPORT LikeManager : public AbstractManager
{
    Q_OBJECT
public:
    static const int kSendInterval = 60000;
    static const int kGetInterval = 15000;
    static const int kLikesPerSend = 100;
    static const int kIdsPerGet = 99;

    explicit LikeManager(QObject* parent = nullptr);

    // Tests shorten the two periods; they take effect at the next start.
    void setSendInterval(int msecs);
    void setGetInterval(int msecs) { getInterval = msecs; }

    void addLike(const LikePair& pair);
    void addLike(const QString& messageId, bool liked);
    void getLikes(const LVRequest& request);
    void getLikes(const QString& chatId, const QStringList& messageIds);
    void processReply(Procedure pro, const QJsonObject& reply);
    // The outcome of a procedure: a failed count request is put back in front.
    void result(Procedure pro, int outcome);

    bool getAlreadyRequested() const { return alreadyRequested; }
    void setAlreadyRequested(bool value) { alreadyRequested = value; }
    QHash<QString, bool> getLikesToBeSent() const { return likesToBeSent; }
    QHash<QString, bool> getCurrentLikes() const { return currentLikes; }

public slots:
    void startLoading() override;
    void startGettingLikes();
    void startSendingLikes();

signals:
    void start(Procedure pro, const QHash<QString, QJsonValue>& inputs);
    void likeGetResults(const LVReply& reply);

private:
    void saveLikesToBeSent();
    void loadLikesToBeSent();
    void pickLikeToBeSent();
    void startLikeSend(const QHash<QString, bool>& likes);
    void pickCurrentRequests();
    int getCurrentRequestsSize() const;
    QStringList getCurrentRequestMessageIds() const;
    void decomposeLikeGet(const QJsonObject& reply);
    void requeueCurrentRequests();
    void startGetTimer();

    DataBase* store = nullptr;
    QTimer getTimer;
    QTimer sendTimer;
    int getInterval = kGetInterval;
    QStringList chatQueue;
    QHash<QString, LVRequest> pendingRequests;
    QList<LVRequest> currentRequests;
    // Chats fetched in pieces, with the counts of the pieces already answered.
    QHash<QString, LVReply> partialReplies;
    bool alreadyRequested = false;
    QHash<QString, bool> likesToBeSent;
    QHash<QString, bool> currentLikes;
    bool sendInFlight = false;
};

#endif // LIKEMANAGER_H
