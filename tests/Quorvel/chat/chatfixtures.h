#ifndef CHATFIXTURES_H
#define CHATFIXTURES_H

#include "chat/chatwindow.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QTimer>

// A conversation's stored history standing in for the core: answers every
// page request of a window, a moment later, with the page before the id
// asked about (or the newest page), oldest first as the core sends them.
class HistoryStub : public QObject
{
    Q_OBJECT
public:
    HistoryStub(ChatWindow* window, const QList<Message>& history)
        : window(window), history(history)
    {
        connect(window, &ChatWindow::command, this, &HistoryStub::command);
    }

    QList<MessageRequest> requests;
    // Answer every request with this page instead (a core that misbehaves).
    QList<Message> fixedPage;
    bool useFixedPage = false;

private slots:
    void command(Command cmd, const QVariant& value)
    {
        if (cmd != CMD_GetChatMessages && cmd != CMD_GetGroupMessages &&
            cmd != CMD_GetChannelMessages)
            return;
        const MessageRequest request = value.value<MessageRequest>();
        requests << request;
        int end = history.size();
        for (int i = 0; i < history.size(); ++i) {
            if (history.at(i).getMessageId() == request.getMessageId())
                end = i;
        }
        const int begin = qMax(0, end - request.getNumber());
        MessageReply reply;
        reply.setRequest(request);
        reply.setMsgs(useFixedPage ? fixedPage : history.mid(begin, end - begin));
        QTimer::singleShot(0, window, [w = window, reply] { w->chatMessageResponse(reply); });
    }

private:
    ChatWindow* window;
    QList<Message> history;
};

// Messages of one chat, one a minute from a fixed local moment, alternating
// between the user ("me") and the peer.
inline QList<Message> makeHistory(const QString& chatId, int count, const QString& me,
                                  const QString& peer)
{
    QList<Message> list;
    const qint64 start = QDateTime(QDate(2024, 3, 20), QTime(9, 0)).toMSecsSinceEpoch();
    for (int i = 0; i < count; ++i) {
        Message m(MessageBase::MsgMajorType_SimpleChat, i % 2 ? peer : me, chatId,
                  QStringLiteral("message %1").arg(i));
        m.setMessageId(QStringLiteral("m%1").arg(i, 6, 10, QLatin1Char('0')));
        m.setSendTimeInGMT(start + qint64(i) * 60000);
        m.setState(MessageBase::MsgState_Delivered);
        list << m;
    }
    return list;
}

#endif // CHATFIXTURES_H
