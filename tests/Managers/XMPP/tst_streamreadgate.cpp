// Incoming stream data reaches QXmpp's parser in whole UTF-8 characters: a
// stanza whose bytes arrive in two reads, split inside a character, keeps its
// text; a character that never completes does not stall the stream.

#include "Managers/XMPP/quorvelxmppclient.h"
#include "Managers/XMPP/streamreadgate.h"

#include <QDomElement>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QXmppOutgoingClient.h>
#include <QXmppStream.h>

namespace {

// A bare stream over a plain loopback socket that keeps the bodies of the
// messages it parses.
class BodyStream : public QXmppStream
{
public:
    BodyStream() : QXmppStream(nullptr)
    {
        auto* socket = new QSslSocket(this);
        setSocket(socket);
    }
    QSslSocket* plainSocket() const { return socket(); }
    QStringList bodies;

protected:
    void handleStanza(const QDomElement& element) override
    {
        if (element.tagName() == QLatin1String("message"))
            bodies << element.firstChildElement(QStringLiteral("body")).text();
    }
    void handleStream(const QDomElement&) override {}
};

const char* const kStreamHead =
    "<?xml version='1.0'?><stream:stream xmlns='jabber:client' "
    "xmlns:stream='http://etherx.jabber.org/streams' id='s1' from='chat.test' version='1.0'>";

QByteArray messageStanza(const QString& body)
{
    return "<message from='peer@chat.test/r' to='me@chat.test' type='chat' id='m1'><body>" +
           body.toUtf8() + "</body></message>";
}

} // namespace

class StreamReadGateTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void incompleteTail_data();
    void incompleteTail();
    void stanzaSplitInsideCharacter_data();
    void stanzaSplitInsideCharacter();
    void characterThatNeverCompletesDoesNotStall();
    void clientStreamIsGated();

private:
    void connectStream();

    QTcpServer server;
    QTcpSocket* peer = nullptr;
    BodyStream* stream = nullptr;
    StreamReadGate* gate = nullptr;
};

void StreamReadGateTest::init()
{
    QVERIFY(server.listen(QHostAddress::LocalHost));
    stream = new BodyStream;
    gate = new StreamReadGate(stream);
    connectStream();
}

void StreamReadGateTest::cleanup()
{
    delete stream;
    stream = nullptr;
    delete peer;
    peer = nullptr;
    server.close();
}

void StreamReadGateTest::connectStream()
{
    stream->plainSocket()->connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(server.waitForNewConnection(30000));
    peer = server.nextPendingConnection();
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(stream->plainSocket()->state(), QAbstractSocket::ConnectedState,
                              30000);
    peer->write(kStreamHead);
    QVERIFY(peer->waitForBytesWritten(30000));
}

void StreamReadGateTest::incompleteTail_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("tail");
    const QByteArray alef = QStringLiteral("\u0627").toUtf8();         // two bytes
    const QByteArray euro = QStringLiteral("\u20ac").toUtf8();         // three bytes
    const QByteArray face = QString::fromUcs4(U"\U0001F600").toUtf8(); // four bytes
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("ascii") << QByteArray("<body>a") << 0;
    QTest::newRow("whole two-byte") << QByteArray("a" + alef) << 0;
    QTest::newRow("half two-byte") << QByteArray("a" + alef.left(1)) << 1;
    QTest::newRow("two of three") << QByteArray("a" + euro.left(2)) << 2;
    QTest::newRow("whole three-byte") << QByteArray("a" + euro) << 0;
    QTest::newRow("one of four") << QByteArray("a" + face.left(1)) << 1;
    QTest::newRow("three of four") << QByteArray("a" + face.left(3)) << 3;
    QTest::newRow("whole four-byte") << QByteArray("a" + face) << 0;
    QTest::newRow("stray continuations") << QByteArray("\x80\x80\x80\x80") << 0;
}

void StreamReadGateTest::incompleteTail()
{
    QFETCH(QByteArray, data);
    QFETCH(int, tail);
    QCOMPARE(StreamReadGate::incompleteTail(data), tail);
}

void StreamReadGateTest::stanzaSplitInsideCharacter_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("splitBefore");
    QTest::addColumn<int>("bytesOfIt");
    QTest::newRow("Persian letter, 1 of 2 bytes")
        << QStringLiteral("\u0633\u0644\u0627\u0645 \u062f\u0648\u0633\u062a")
        << QStringLiteral("\u0627") << 1;
    QTest::newRow("emoji, 2 of 4 bytes")
        << QStringLiteral("hi ") + QString::fromUcs4(U"\U0001F600") + QStringLiteral(" there")
        << QString::fromUcs4(U"\U0001F600") << 2;
    QTest::newRow("emoji, 3 of 4 bytes")
        << QString::fromUcs4(U"\U0001F44D\U0001F600") << QString::fromUcs4(U"\U0001F600") << 3;
}

void StreamReadGateTest::stanzaSplitInsideCharacter()
{
    QFETCH(QString, body);
    QFETCH(QString, splitBefore);
    QFETCH(int, bytesOfIt);
    const QByteArray stanza = messageStanza(body);
    const int at = stanza.indexOf(splitBefore.toUtf8()) + bytesOfIt;
    peer->write(stanza.left(at));
    QVERIFY(peer->waitForBytesWritten(30000));
    // The first half is on the client's side and held there, not parsed.
    QTRY_VERIFY_WITH_TIMEOUT(gate->holding(), 30000);
    QCOMPARE(stream->bodies.size(), 0);
    peer->write(stanza.mid(at));
    QVERIFY(peer->waitForBytesWritten(30000));
    QTRY_COMPARE_WITH_TIMEOUT(stream->bodies.size(), 1, 30000);
    QCOMPARE(stream->bodies.first(), body);
    QVERIFY(!gate->holding());
}

void StreamReadGateTest::characterThatNeverCompletesDoesNotStall()
{
    QByteArray broken = "<message type='chat' id='b1'><body>a";
    broken += QStringLiteral("\u0627").toUtf8().left(1);
    peer->write(broken);
    QVERIFY(peer->waitForBytesWritten(30000));
    QTRY_VERIFY_WITH_TIMEOUT(gate->holding(), 30000);
    // After the hold the stream reads what there is; the stanza completes.
    QTRY_VERIFY_WITH_TIMEOUT(!gate->holding(), 30000);
    peer->write("z</body></message>");
    QVERIFY(peer->waitForBytesWritten(30000));
    QTRY_COMPARE_WITH_TIMEOUT(stream->bodies.size(), 1, 30000);
    QVERIFY(stream->bodies.first().startsWith(QLatin1Char('a')));
    QVERIFY(stream->bodies.first().endsWith(QLatin1Char('z')));
}

void StreamReadGateTest::clientStreamIsGated()
{
    // The chat client's own stream reads through a gate of its own.
    QuorvelXMPPClient client;
    auto* outgoing = client.findChild<QXmppOutgoingClient*>();
    QVERIFY(outgoing);
    QVERIFY(outgoing->findChild<StreamReadGate*>());
}

QTEST_MAIN(StreamReadGateTest)
#include "tst_streamreadgate.moc"
