// What the chat server sends, as the client's stream hands it on: the raw
// chunk to the stanza counter (which finds the stream-management answers in
// it), each top-level element to the client's extensions in their order
// (counter, stream management, our messages, receipts, rooms), and what none
// of them took as the library's message, IQ or presence signals. Messages that
// come through reach the XMPP manager's reader and everything the program reads
// out of them; one message of ours is kept in flight for them to confirm. The same bytes also go to
// the reader of the group stanzas that the web service returns.

#include "fuzzsupport.h"
#include "messagereads.h"

#include "Managers/Group/groupstanzareader.h"
#include "Managers/XMPP/xmppmanager.h"

#include <QDomDocument>
#include <QDomElement>
#include <QXmppIq.h>
#include <QXmppMessage.h>
#include <QXmppOutgoingClient.h>
#include <QXmppPresence.h>

namespace {

const char* const kStreamNamespace = "http://etherx.jabber.org/streams";

XMPPManager* manager = nullptr;
QXmppOutgoingClient* stream = nullptr;

// As the library's stream does with one received element.
void deliver(const QDomElement& element)
{
    bool handled = false;
    emit stream->elementReceived(element, handled);
    if (handled)
        return;
    const QString tag = element.tagName();
    if (tag == QLatin1String("message")) {
        QXmppMessage message;
        message.parse(element);
        emit stream->messageReceived(message);
    } else if (tag == QLatin1String("iq")) {
        QXmppIq iq;
        iq.parse(element);
        if (iq.type() == QXmppIq::Result || iq.type() == QXmppIq::Error)
            emit stream->iqReceived(iq);
    } else if (tag == QLatin1String("presence")) {
        QXmppPresence presence;
        presence.parse(element);
        emit stream->presenceReceived(presence);
    }
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::setUp(argc, argv);
    manager = new XMPPManager;
    manager->startLoading();
    manager->setUserIdentity(UserIdentityPtr::create(QStringLiteral("alice")));
    manager->setXmppRooms({QStringLiteral("g1")});
    QObject::connect(manager, &XMPPManager::incommingMessage,
                     [](const Message& message) { fuzz::readEverything(message); });
    stream = manager->getClient()->findChild<QXmppOutgoingClient*>();
    if (!stream)
        std::abort();
    return 0;
}

// A message of ours in flight, so that reflections and receipts of "m1" have
// something to confirm.
void keepOneInFlight()
{
    QuorvelXMPPClient* client = manager->getClient();
    if (client->getLastSentMessage().isValid())
        return;
    Message message(MessageBase::MsgMajorType_SimpleChat, QStringLiteral("alice"),
                    QStringLiteral("bob"), QStringLiteral("in flight"));
    message.setMessageId(QStringLiteral("m1"));
    client->SendMessage(&message);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    keepOneInFlight();
    const QByteArray bytes = fuzz::input(data, size);
    emit stream->logMessage(QXmppLogger::ReceivedMessage, QString::fromUtf8(bytes));

    QDomDocument document;
    if (document.setContent(bytes, true)) {
        const QDomElement root = document.documentElement();
        if (root.namespaceURI() == QLatin1String(kStreamNamespace)) {
            for (QDomElement child = root.firstChildElement(); !child.isNull();
                 child = child.nextSiblingElement())
                deliver(child);
        } else {
            deliver(root);
        }
    }

    Message group;
    if (GroupStanzaReader::parse(bytes, &group))
        fuzz::readEverything(group);
    fuzz::drainEvents();
    return 0;
}
