#include "shell/traynotifier.h"

#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"

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

TrayNotifier::TrayNotifier(QObject* parent)
    : QObject(parent), trayIcon(new QSystemTrayIcon(QIcon(QStringLiteral(":/myappico.ico")), this))
{
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
    const QString text =
        previewText(n, GlobalConstants::getMainSettings().getNotificationPreviewEnabled());
    L_DEBUG(QStringLiteral("MessengerMainWindow::showNotification | ") +
            MessageBase::toString(n.getMessage().getMinorType()) + QStringLiteral(" | ") + text);
    const QString title = plainBalloonText(n.getTitle());
    const QString body = plainBalloonText(text.simplified());
    trayIcon->showMessage(title, body, QSystemTrayIcon::Information, 10000);
    emit balloonShown(title, body);
}
