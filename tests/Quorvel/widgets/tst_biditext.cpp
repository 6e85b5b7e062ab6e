// Direction controls in peers' text: names and file names show them as
// visible marks in their true order; message text closes what it opens on
// every line, so nothing it holds reorders what follows it.
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

QTEST_MAIN(TestBidiText)
#include "tst_biditext.moc"
