// The interface's direction has one home: the loaded catalogue sets the
// application's direction once, and every panel, menu and dialog follows it,
// also one built before it has a parent. Qt's own dialogs speak Persian too.
#include "screens/channelabstractpopup.h"
#include "screens/channelprofilenormal.h"
#include "screens/contactprofile.h"
#include "screens/groupprofile.h"
#include "widgets/catalogues.h"
#include "widgets/iconbutton.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QtTest>

namespace {
// The back arrow of a panel: its first icon button, at the top.
QImage backArrow(QWidget* panel)
{
    for (IconButton* b : panel->findChildren<IconButton*>()) {
        if (b->getIconSize() == QSize(32, 32) || b->size() == QSize(32, 32))
            return b->pixmap(Qt::ReturnByValue).toImage();
    }
    return QImage();
}
QImage arrow(const char* name)
{
    return QIcon(QString::fromLatin1(":/Images/%1.png").arg(QLatin1String(name)))
        .pixmap(QSize(32, 32))
        .toImage();
}
} // namespace

class TestDirection : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Catalogues::uninstall(); }

    void persianCatalogueTurnsEverythingRightToLeft()
    {
        QCOMPARE(QApplication::layoutDirection(), Qt::LeftToRight);
        QVERIFY(Catalogues::install());
        QCOMPARE(QApplication::layoutDirection(), Qt::RightToLeft);
        // Panels made before the window they will sit in, as the main window
        // and the chat window make them.
        GroupProfile group;
        ChannelProfileNormal channel;
        ContactProfile contact;
        QMenu menu;
        for (QWidget* w : std::initializer_list<QWidget*>{&group, &channel, &contact, &menu})
            QVERIFY2(w->isRightToLeft(), w->metaObject()->className());
        const QImage right = arrow("arrow_right_black");
        QVERIFY(!right.isNull());
        QCOMPARE(backArrow(&group), right);
        QCOMPARE(backArrow(&channel), right);
        QCOMPARE(backArrow(&contact), right);
        // The directory's channel list, on its blue title bar.
        ChannelAbstractPopUP list;
        QCOMPARE(list.getBackButton()->pixmap(Qt::ReturnByValue).toImage(),
                 arrow("arrow_right_white"));
    }

    void qtDialogsSpeakPersian()
    {
        QVERIFY(Catalogues::install());
        QVERIFY(Catalogues::hasQtCatalogue());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), QString::fromUtf8("بازکردن"));
    }

    void englishCatalogueStaysLeftToRight()
    {
        QVERIFY(
            Catalogues::install(QStringLiteral(":/Lng/quorvel_english.qm"), QStringLiteral("en")));
        QCOMPARE(QApplication::layoutDirection(), Qt::LeftToRight);
        GroupProfile group;
        QVERIFY(!group.isRightToLeft());
        QCOMPARE(backArrow(&group), arrow("arrow_left_black"));
        ChannelAbstractPopUP list;
        QCOMPARE(list.getBackButton()->pixmap(Qt::ReturnByValue).toImage(),
                 arrow("arrow_left_white"));
    }
};

QTEST_MAIN(TestDirection)
#include "tst_direction.moc"
