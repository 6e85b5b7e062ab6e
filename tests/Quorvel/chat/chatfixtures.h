#ifndef CHATFIXTURES_H
#define CHATFIXTURES_H

#include "chat/chatwindow.h"
#include "foundation/linkgenerator.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QTest>
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
    // A message the core stores now and hands to the window, as a reply to
    // original when one is given.
    void deliver(const Message& message, const Message& original = Message())
    {
        history << message;
        if (original.getMessageId().isEmpty()) {
            window->appendMessage(message);
            return;
        }
        MessagePair pair;
        pair.setMessage(message);
        pair.setReplyMessage(original);
        window->appendMessagePair(pair);
    }
    int storedCount() const { return history.size(); }
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
        // The originals of the page's replies come with it.
        for (const Message& m : reply.getMsgs()) {
            if (!m.isReply())
                continue;
            for (const Message& original : qAsConst(history)) {
                if (original.getMessageId() == m.getReplyOnMessageId())
                    reply.addReplyMessage(original);
            }
        }
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

// The texts a user may type that both sides must show as typed, each with
// the number of the program's emoji pictures it shows: columns "typed" and
// "pictures" of a data-driven test.
inline void addTypedTextRows()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("pictures");
    const QString host = LinkGenerator::getPublicLinkHost();
    QTest::newRow("plain") << QStringLiteral("hello there") << 0;
    QTest::newRow("Persian") << QStringLiteral(
                                    "\u0633\u0644\u0627\u0645\u060c \u062d\u0627\u0644\u062a "
                                    "\u0686\u0637\u0648\u0631\u0647\u061f")
                             << 0;
    QTest::newRow("mixed") << QStringLiteral("Hi \u0633\u0644\u0627\u0645 42 ok") << 0;
    QTest::newRow("tag") << QStringLiteral("<b>bold?</b>") << 0;
    QTest::newRow("entity") << QStringLiteral("&amp;") << 0;
    QTest::newRow("escaped tag") << QStringLiteral("&lt;x&gt;") << 0;
    QTest::newRow("tag-like link") << QStringLiteral("<a href=\"x\">click</a>") << 0;
    QTest::newRow("http link") << QStringLiteral("see https://%1/c/news now").arg(host) << 0;
    QTest::newRow("emoji") << QString::fromUcs4(U"ok \U0001F600\U0001F44D") << 2;
}

#endif // CHATFIXTURES_H
