#include "chat/groupnotice.h"

#include "model/grouprole.h"
#include "model/messagekeys.h"
#include "widgets/addressbook.h"
#include "widgets/phonetext.h"

QString GroupNotice::text(const Message& notice, const NameOf& nameOf)
{
    const QJsonObject fields = notice.getOtherFields();
    // The person the notice is about: named in its fields, or its sender.
    const auto subject = [&](QLatin1String key) {
        const QString named = fields.value(key).toString();
        return named.isEmpty() ? notice.getUserId() : named;
    };
    QString who;
    QString words;
    switch (notice.getMinorType()) {
    case MessageBase::MsgMinorType_GroupRemove:
        who = fields.value(MessageKeys::RemovedUserId).toString();
        words = tr("_NoticeRemoved");
        break;
    case MessageBase::MsgMinorType_GroupJoin:
        who = subject(MessageKeys::ChangeUserId);
        words = tr("_NoticeAdded");
        break;
    case MessageBase::MsgMinorType_GroupChangeRole: {
        who = subject(MessageKeys::ChangeUserId);
        const QString role = fields.value(MessageKeys::NewRole).toString();
        words = role == GroupRole::toString(GroupRole::ADMIN)    ? tr("_NoticeMadeManager")
                : role == GroupRole::toString(GroupRole::MEMBER) ? tr("_NoticeNoLongerManager")
                                                                 : tr("_NoticeRoleChanged");
        break;
    }
    case MessageBase::MsgMinorType_GroupChangeMetadata:
        return tr("_NoticeDetailsChanged");
    case MessageBase::MsgMinorType_GroupLeave:
        who = notice.getUserId();
        words = tr("_NoticeLeft");
        break;
    case MessageBase::MsgMinorType_GroupCreated:
        who = notice.getUserId();
        words = tr("_NoticeCreated");
        break;
    default:
        break;
    }
    if (who.isEmpty())
        return notice.getMessageBody();
    // The name keeps to itself: its own direction and any control it holds
    // never turn the sentence around it, which reads in its words' direction
    // even when the name comes first.
    const QString name = nameOf(who);
    const QChar mark = words.isRightToLeft() ? QChar(0x200F) : QChar(0x200E);
    return mark + words.arg(QChar(0x2068) + PhoneText::nameOr(name, who) + QChar(0x2069));
}

QString GroupNotice::text(const Message& notice, const QHash<QString, GroupMember>& members)
{
    return text(notice, [&members](const QString& userId) { return personName(userId, members); });
}

QString GroupNotice::personName(const QString& userId, const QHash<QString, GroupMember>& members)
{
    return personName(userId, members.value(userId).getProfile().getNickName());
}

QString GroupNotice::personName(const QString& userId, const QString& nickname)
{
    const QString trimmed = nickname.trimmed();
    if (!trimmed.isEmpty())
        return trimmed;
    Contact contact;
    if (AddressBook::getInstance()->findUser(userId, &contact))
        return contact.getNameOrNumber();
    return PhoneText::number(userId);
}
