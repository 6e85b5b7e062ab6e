#include "chat/senderprofiles.h"

#include "widgets/avatardownloader.h"
#include "widgets/interfacescale.h"

SenderProfiles::SenderProfiles(QObject* parent) : QObject(parent) {}

SenderProfiles::~SenderProfiles()
{
    qDeleteAll(downloaders);
}

AvatarDownloader* SenderProfiles::downloader(const QString& userId)
{
    if (userId.isEmpty())
        return nullptr;
    if (AvatarDownloader* existing = downloaders.value(userId))
        return existing;
    auto* made = new AvatarDownloader;
    made->setAvatarSize(scaleSize(QSize(30, 30)));
    made->setUserId(userId);
    downloaders.insert(userId, made);
    connect(made, &AvatarDownloader::avatarChanged, this, &SenderProfiles::avatarChanged);
    Members members;
    members.setRequestId(chatId);
    members.addNumber(userId);
    emit command(CMD_RunMembers, QVariant::fromValue(members));
    return made;
}

void SenderProfiles::setMembersProfiles(const Members& members)
{
    const QMap<QString, Profile> profiles = members.getProfiles();
    for (const Profile& profile : profiles) {
        AvatarDownloader* downloader = downloaders.value(profile.getMemberID());
        if (!downloader)
            continue;
        if (!profile.getNickName().trimmed().isEmpty())
            nickNames.insert(profile.getMemberID(), profile.getNickName());
        downloader->downloadAvatar(profile);
    }
}
