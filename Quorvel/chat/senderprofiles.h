#ifndef SENDERPROFILES_H
#define SENDERPROFILES_H

#include "Managers/command.h"
#include "model/members.h"

#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QStringList>
#include <QVariant>

class AvatarDownloader;

// The names and pictures of the people who wrote on a chat's board: one
// downloader per sender, asked of the core the first time the sender is met.
class SenderProfiles : public QObject
{
    Q_OBJECT
public:
    explicit SenderProfiles(QObject* parent = nullptr);
    ~SenderProfiles() override;

    void setChatId(const QString& id) { chatId = id; }
    // The sender's downloader, made (and the profile asked for) on first
    // sight; none for a message without a sender.
    AvatarDownloader* downloader(const QString& userId);
    void setMembersProfiles(const Members& members);
    // Everyone whose profile was asked for.
    QStringList senders() const { return downloaders.keys(); }
    // The last nickname an answer gave the sender; an answer without one
    // leaves it as it was.
    QString nickName(const QString& userId) const { return nickNames.value(userId); }

signals:
    void command(Command command, QVariant request);
    void avatarChanged(QString userID, QString userNickName, QPixmap avatar);

private:
    QString chatId;
    QHash<QString, AvatarDownloader*> downloaders;
    QHash<QString, QString> nickNames;
};

#endif // SENDERPROFILES_H
