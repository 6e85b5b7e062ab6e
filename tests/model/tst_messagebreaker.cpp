#include "model/messagebreaker.h"

#include <QtTest>

namespace {
QString u(const char32_t* text)
{
    return QString::fromUcs4(reinterpret_cast<const uint*>(text), -1);
}

QString xs(int count)
{
    return QString(count, QLatin1Char('x'));
}

QString withBlankAt(int size, const QList<int>& blanks)
{
    QString text = xs(size);
    for (int position : blanks)
        text[position] = QLatin1Char(' ');
    return text;
}
} // namespace

class TestMessageBreaker : public QObject
{
    Q_OBJECT
private slots:
    void breakBigMessage_data();
    void breakBigMessage();
    void partsKeepEveryOtherField();
};

void TestMessageBreaker::breakBigMessage_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QList<int>>("sizes");

    QTest::newRow("empty") << QString() << QList<int>{0};
    QTest::newRow("4096") << xs(4096) << QList<int>{4096};
    QTest::newRow("4097 without blank") << xs(4097) << QList<int>{3272, 825};
    QTest::newRow("blank at 3100") << withBlankAt(5000, {3100}) << QList<int>{3100, 1900};
    QTest::newRow("first blank of window")
        << withBlankAt(5000, {100, 3072, 3200}) << QList<int>{3072, 1928};
    QTest::newRow("blanks outside window")
        << withBlankAt(5000, {3071, 3272}) << QList<int>{3272, 1728};
    QTest::newRow("10000 without blank") << xs(10000) << QList<int>{3272, 3272, 3456};
    QTest::newRow("line feed in window") << xs(3150) + "\n" + xs(2000) << QList<int>{3150, 2001};

    // Cuts that would split a character or an emoji sequence move back to its start.
    QTest::newRow("surrogate pair")
        << xs(3271) + u(U"\U0001F600") + xs(1000) << QList<int>{3271, 1002};
    QTest::newRow("zwj sequence") << xs(3268) + u(U"\U0001F468\u200D\U0001F469\u200D\U0001F467") +
                                         xs(1000)
                                  << QList<int>{3268, 1008};
    QTest::newRow("flags") << xs(3270) + u(U"\U0001F1EE\U0001F1F7\U0001F1E9\U0001F1EA") + xs(1000)
                           << QList<int>{3270, 1008};
    QTest::newRow("second flag") << xs(3268) + u(U"\U0001F1EE\U0001F1F7\U0001F1E9\U0001F1EA") +
                                        xs(1000)
                                 << QList<int>{3272, 1004};
    QTest::newRow("keycap") << xs(3270) + u(U"#\uFE0F\u20E3") + xs(1000) << QList<int>{3270, 1003};
    QTest::newRow("skin tone") << xs(3270) + u(U"\U0001F44D\U0001F3FB") + xs(1000)
                               << QList<int>{3270, 1004};
    QTest::newRow("persian with mark")
        << xs(3271) + u(U"\u0628\u0650") + xs(1000) << QList<int>{3271, 1002};
    QTest::newRow("crlf at window start") << xs(3071) + "\r\n" + xs(2000) << QList<int>{3272, 1801};

    // Blanks inside tags are no places to cut, and a tag stays whole.
    const QString image = "<img src=\":/emojis/png/1f600.png\"/>";
    QTest::newRow("emoji tag") << xs(3250) + image + xs(1000)
                               << QList<int>{3250, int(image.size()) + 1000};
    const QString word = "https://quorvel.link/" + QString(300, QLatin1Char('a'));
    const QString anchor = "<a href=\"" + word + "\">" + word + "</a>";
    QTest::newRow("anchor") << xs(3000) + " " + anchor + xs(1000)
                            << QList<int>{3001, int(anchor.size()) + 1000};

    // One cluster longer than the window cannot be kept whole.
    QTest::newRow("endless cluster")
        << "a" + QString(5000, QChar(0x0301)) << QList<int>{3272, 1729};
}

void TestMessageBreaker::breakBigMessage()
{
    QFETCH(QString, body);
    QFETCH(QList<int>, sizes);

    const Message message(MessageBase::MsgMajorType_SimpleChat, "alice", "bob", body);
    const QList<Message> parts = MessageBreaker::breakBigMessage(message);

    QList<int> actualSizes;
    QString joined;
    for (const Message& part : parts) {
        actualSizes.append(part.getMessageBody().size());
        joined += part.getMessageBody();
        QVERIFY(part.getMessageBody().size() <= 4096);
    }
    QCOMPARE(actualSizes, sizes);
    QCOMPARE(joined, body);
}

void TestMessageBreaker::partsKeepEveryOtherField()
{
    Message message(MessageBase::MsgMajorType_GroupChat, "alice", "room1", xs(9000));
    message.setMessageId("m-1");
    message.setReplyOnMessageId("m-0");
    message.setReplyOnThreadId("room1");
    message.setSendTimeInGMT(-42);

    const QList<Message> parts = MessageBreaker::breakBigMessage(message);
    QCOMPARE(parts.size(), 3);
    for (int i = 0; i < parts.size(); ++i) {
        Message expected = message;
        expected.setMessageBody(parts.at(i).getMessageBody());
        // The given id stays with the first part only: later parts are
        // messages of their own and get their ids when sent.
        if (i > 0)
            expected.setMessageId(QString());
        QCOMPARE(parts.at(i).toDBJson(), expected.toDBJson());
    }
}

QTEST_APPLESS_MAIN(TestMessageBreaker)
#include "tst_messagebreaker.moc"
