#include "shell/traynotifier.h"

#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "widgets/avatarviewer.h"
#include "widgets/biditext.h"
#include "widgets/notificationmanager.h"

#include <QCoreApplication>
#include <QIcon>
#include <QSystemTrayIcon>

namespace {

QString windowText(const char* key)
{
    return QCoreApplication::translate("MessengerMainWindow", key);
}

QString fileText(FileMessage::MsgFileType type)
{
    switch (type) {
    case FileMessage::MsgFileType_Image:
        return windowText("_image");
    case FileMessage::MsgFileType_Video:
        return windowText("_video");
    case FileMessage::MsgFileType_Gif:
        return windowText("_gif");
    case FileMessage::MsgFileType_PushToTalk:
        return windowText("_pushToTalk");
    case FileMessage::MsgFileType_Other:
        return windowText("_otherFile");
    default:
        return QString();
    }
}

} // namespace

TrayNotifier::TrayNotifier(QWidget* window) : QObject(window), window(window)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        L_INFO(QStringLiteral("TrayNotifier | no notification area: notifications show in the "
                              "window"));
        return;
    }
    trayIcon = new QSystemTrayIcon(QIcon(QStringLiteral(":/myappico.ico")), this);
    trayIcon->setVisible(true);
}

QString TrayNotifier::previewText(const NotificationMessage& n, bool previewEnabled)
{
    if (!previewEnabled)
        return QString();
    const Message m = n.getMessage();
    switch (m.getMinorType()) {
    case MessageBase::MsgMinorType_Text:
        return m.getMessageBody();
    case MessageBase::MsgMinorType_Sticker:
        return windowText("_sticker");
    case MessageBase::MsgMinorType_File:
        return m.getMessageBody().isEmpty() ? fileText(m.getFileMessage().getFileType())
                                            : m.getMessageBody();
    case MessageBase::MsgMinorType_Location:
        return windowText("_location");
    case MessageBase::MsgMinorType_Poll:
        return windowText("_poll");
    default:
        return QString();
    }
}

QString TrayNotifier::plainBalloonText(const QString& text)
{
    static const QChar joiner(0x2060);
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        out += c;
        if (c == QLatin1Char('<') || c == QLatin1Char('&'))
            out += joiner;
    }
    return out;
}

void TrayNotifier::showNotification(const NotificationMessage& n)
{
    // A peer's text never disguises itself: a name's direction controls show,
    // those of a message stay each in a run of its own.
    const QString text = BidiText::confinedControls(
        previewText(n, GlobalConstants::getMainSettings().getNotificationPreviewEnabled()));
    const QString heading = BidiText::visibleControls(n.getTitle());
    L_DEBUG(QStringLiteral("MessengerMainWindow::showNotification | ") +
            MessageBase::toString(n.getMessage().getMinorType()) + QStringLiteral(" | ") + text);
    const QString title = plainBalloonText(heading);
    const QString body = plainBalloonText(text.simplified());
    if (trayIcon) {
        trayIcon->showMessage(title, body, QSystemTrayIcon::Information, 10000);
    } else {
        // The strip's labels show plain text: the texts go as they came.
        if (!queue)
            queue = new NotificationManager(window);
        NotificationManager::Item item;
        item.title = heading;
        item.text = text.simplified();
        item.avatarUrl = n.getAvThUrl();
        item.avatarId = n.getMessage().getChatId();
        switch (n.getMessage().getMajorType()) {
        case MessageBase::MsgMajorType_GroupChat:
            item.avatarKind = AvatarViewer::Group;
            break;
        case MessageBase::MsgMajorType_ChannelChat:
            item.avatarKind = AvatarViewer::Channel;
            break;
        default:
            item.avatarKind = AvatarViewer::Person;
            break;
        }
        queue->addNotification(item);
    }
    emit balloonShown(title, body);
}
