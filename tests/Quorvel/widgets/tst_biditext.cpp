// Direction controls in peers' text: names and file names show them as
// visible marks in their true order; message text closes what it opens on
// every line, so nothing it holds reorders what follows it, and as shown keeps
// each control in a run of its own that reorders nothing, while a copy of it
// gives the text back as written.
#include "widgets/biditext.h"

#include <QFontMetrics>
#include <QTest>
#include <QTextLayout>

namespace {
const QChar RLO(0x202E);
const QChar LRE(0x202A);
const QChar PDF(0x202C);
const QChar RLI(0x2067);
const QChar PDI(0x2069);
const QChar RLM(0x200F);
const QChar RLE(0x202B);
const QChar LRO(0x202D);
const QChar LRI(0x2066);
const QChar FSI(0x2068);

// Where each character of the text is drawn, laid out on one line as a
// label lays it out.
QList<qreal> drawnAt(const QString& text)
{
    QTextLayout layout(text);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(10000);
    layout.endLayout();
    QList<qreal> at;
    for (int i = 0; i < text.size(); ++i)
        at << line.cursorToX(i);
    return at;
}

// Whether the letters of "abcdef" in the text are drawn left to right in
// their stored order.
bool lettersInStoredOrder(const QString& text)
{
    const QList<qreal> at = drawnAt(text);
    qreal previous = -1;
    for (const QChar letter : QStringLiteral("abcdef")) {
        const int i = text.indexOf(letter);
        if (i < 0 || at.at(i) <= previous)
            return false;
        previous = at.at(i);
    }
    return true;
}
} // namespace

class TestBidiText : public QObject
{
    Q_OBJECT

private slots:
    void visibleControls_data();
    void visibleControls();
    void closedControls_data();
    void closedControls();
    void disguisedNameDrawsInTrueOrder();
    void confinedControlsReorderNothing_data();
    void confinedControlsReorderNothing();
    void copiedPieceLosesOnlyTheRuns();
};

void TestBidiText::visibleControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QStringLiteral("invoice.pdf") << QStringLiteral("invoice.pdf");
    QTest::newRow("Persian with a mark")
        << QStringLiteral("\u0641\u0627\u06a9\u062a\u0648\u0631") + RLM + QStringLiteral(".pdf")
        << QStringLiteral("\u0641\u0627\u06a9\u062a\u0648\u0631") + RLM + QStringLiteral(".pdf");
    QTest::newRow("override") << QStringLiteral("invoice_") + RLO + QStringLiteral("fdp.exe")
                              << QStringLiteral("invoice_[RLO]fdp.exe");
    QTest::newRow("embedding and isolate")
        << LRE + QStringLiteral("a") + PDF + RLI + QStringLiteral("b") + PDI
        << QStringLiteral("[LRE]a[PDF][RLI]b[PDI]");
}

void TestBidiText::visibleControls()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QCOMPARE(BidiText::visibleControls(name), shown);
    QCOMPARE(BidiText::hasControls(BidiText::visibleControls(name)), false);
}

void TestBidiText::closedControls_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("closed");
    QTest::newRow("none") << QStringLiteral("hello\nworld") << QStringLiteral("hello\nworld");
    QTest::newRow("open override closed at the end")
        << QStringLiteral("abc") + RLO + QStringLiteral("def")
        << QStringLiteral("abc") + RLO + QStringLiteral("def") + PDF;
    QTest::newRow("closed on each line")
        << RLO + QStringLiteral("a\nb") + RLI + QStringLiteral("c")
        << RLO + QStringLiteral("a") + PDF + QStringLiteral("\nb") + RLI + QStringLiteral("c") +
               PDI;
    QTest::newRow("balanced stays") << LRE + QStringLiteral("a") + PDF + QStringLiteral("b")
                                    << LRE + QStringLiteral("a") + PDF + QStringLiteral("b");
    QTest::newRow("stray closers dropped")
        << PDF + QStringLiteral("a") + PDI << QStringLiteral("a");
    QTest::newRow("isolate closes the embedding inside it")
        << QString(RLI) + LRE + QStringLiteral("x") + PDI + QStringLiteral("y")
        << QString(RLI) + LRE + QStringLiteral("x") + PDF + PDI + QStringLiteral("y");
}

void TestBidiText::closedControls()
{
    QFETCH(QString, text);
    QFETCH(QString, closed);
    QCOMPARE(BidiText::closedControls(text), closed);
}

void TestBidiText::disguisedNameDrawsInTrueOrder()
{
    // Laid out as the labels lay it out, the disguised name's characters run
    // left to right in the order they are stored: "exe" is drawn at the end.
    const QString name = QStringLiteral("invoice_") + RLO + QStringLiteral("fdp.exe");
    const QString shown = BidiText::visibleControls(name);
    QTextLayout layout(shown);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(10000);
    layout.endLayout();
    const qreal e = line.cursorToX(shown.indexOf(QStringLiteral("exe")));
    const qreal f = line.cursorToX(shown.indexOf(QStringLiteral("fdp")));
    QVERIFY(f < e);

    QTextLayout raw(name);
    raw.beginLayout();
    QTextLine rawLine = raw.createLine();
    rawLine.setLineWidth(10000);
    raw.endLayout();
    // Unmended, the override draws "exe" before "fdp".
    QVERIFY(rawLine.cursorToX(name.indexOf(QStringLiteral("exe"))) <
            rawLine.cursorToX(name.indexOf(QStringLiteral("fdp"))));
}

void TestBidiText::confinedControlsReorderNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("disguisedAsWritten");
    QTest::newRow("none") << QStringLiteral("abc def") << false;
    QTest::newRow("override") << QStringLiteral("abc") + RLO + QStringLiteral("def") << true;
    QTest::newRow("embedding") << QStringLiteral("abc") + RLE + QStringLiteral("def") << false;
    QTest::newRow("override closed")
        << QStringLiteral("ab") + RLO + QStringLiteral("cd") + PDF + QStringLiteral("ef") << true;
    QTest::newRow("isolate") << QStringLiteral("abc") + RLI + QStringLiteral("def") << false;
    QTest::newRow("first strong isolate of an override")
        << QStringLiteral("abc") + FSI + RLO + QStringLiteral("def") << true;
    QTest::newRow("stray ends") << PDI + QStringLiteral("abc") + PDF + PDI + QStringLiteral("def")
                                << false;
    QTest::newRow("left to right ones")
        << QStringLiteral("abc") + LRO + LRI + QStringLiteral("def") << false;
    QTest::newRow("two lines") << QStringLiteral("abc") + RLO + QStringLiteral("\ndef") + RLO
                               << false;
}

void TestBidiText::confinedControlsReorderNothing()
{
    QFETCH(QString, text);
    QFETCH(bool, disguisedAsWritten);
    const QString shown = BidiText::confinedControls(text);
    // Every control stays: the text as written comes back whole.
    QCOMPARE(BidiText::unconfinedControls(shown), text);
    for (const QChar c : text) {
        if (BidiText::hasControls(QString(c)))
            QVERIFY(shown.contains(c));
    }
    if (!text.contains(QLatin1Char('\n'))) {
        QVERIFY(lettersInStoredOrder(shown));
        // The controls of the unmended text do turn it around.
        QCOMPARE(!lettersInStoredOrder(text), disguisedAsWritten);
    }
    // Nothing it holds reaches past it: text after it, in an isolate of its
    // own, keeps its order, and the whole nests in a run without closing it.
    const QString around = FSI + shown + PDI + QStringLiteral("xyz");
    const QList<qreal> at = drawnAt(around);
    const int x = around.indexOf(QLatin1Char('x'));
    QVERIFY(at.at(x) < at.at(x + 1) && at.at(x + 1) < at.at(x + 2));
}

void TestBidiText::copiedPieceLosesOnlyTheRuns()
{
    // A selection may cut a run: what is left of it goes, the letters stay.
    const QString text =
        QStringLiteral("abc") + RLO + QStringLiteral("def") + RLI + QStringLiteral("gh") + PDI;
    const QString shown = BidiText::confinedControls(text);
    for (int from = 0; from < shown.size(); ++from) {
        for (int to = from; to <= shown.size(); ++to) {
            const QString piece = BidiText::unconfinedControls(shown.mid(from, to - from));
            QString letters = piece;
            letters.remove(RLO).remove(RLI).remove(PDI);
            QString expected = shown.mid(from, to - from);
            expected.remove(FSI).remove(LRI).remove(PDI).remove(RLO).remove(RLI);
            QCOMPARE(letters, expected);
        }
    }
    QCOMPARE(BidiText::unconfinedControls(shown), text);
}

QTEST_MAIN(TestBidiText)
#include "tst_biditext.moc"
