#ifndef SCREENTESTSUPPORT_H
#define SCREENTESTSUPPORT_H

// What the screen tests share: the Persian catalogue and the program's style
// sheet, typing into fields, answering the question popup, and pictures of
// screens saved under the build folder for looking at.
#include "Managers/command.h"
#include "fakefilehost.h"
#include "fakewebservice.h"
#include "model/globalconstants.h"
#include "shell/stylesheetloader.h"
#include "testcertificates.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/contactselect.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/label.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace ScreenTest {

inline QString shotFolder()
{
    return QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");
}

// The program's catalogue and font; call once from initTestCase.
inline bool setUpApplication(QTranslator* translator)
{
    if (!translator->load(QStringLiteral(":/Lng/quorvel_persian.qm")))
        return false;
    QCoreApplication::installTranslator(translator);
    initInterfaceScale();
    QApplication::setFont(Fonts::getFont(20));
    return QDir().mkpath(shotFolder());
}

// A top-level host with the program's style sheet and right-to-left layout.
inline QWidget* styledHost(QWidget* host, const QSize& size)
{
    loadStyleSheet(host);
    host->setLayoutDirection(Qt::RightToLeft);
    host->resize(size);
    host->show();
    return host;
}

// The styled host of one test function, with the question popup and the
// popup host reset around it.
inline QWidget* openHost(const QSize& size)
{
    QWidget* host = styledHost(new QWidget, size);
    PopupManager::setMainWindow(host);
    return host;
}

inline void closeHost(QWidget* host)
{
    PopUpWarning::getInstance()->hide();
    QObject::disconnect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, nullptr,
                        nullptr);
    PopupManager::deleteInstance();
    delete host;
    UploadManager::deleteInstance();
}

// The local service's file host on loopback HTTPS, trusted through the test
// CA, as the uploads of pictures reach it; pictures are written to a
// temporary folder.
class LocalFiles
{
public:
    bool start()
    {
        if (TestCertificates::trustSharedCa().isEmpty() || !service.start())
            return false;
        host.reset(new FakeFileHost(&service));
        qputenv("QUORVEL_FILE_HOST_URL", service.baseUrl().toUtf8());
        GlobalConstants::setUserName("alice");
        GlobalConstants::setToken("token-1");
        GlobalConstants::setHashMethod("SHA256");
        return dir.isValid();
    }
    QString picture(const QString& name, int width, int height, const QColor& colour)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        return image.save(path) ? path : QString();
    }
    QString path(const QString& name) const { return dir.filePath(name); }

private:
    FakeWebService service;
    std::unique_ptr<FakeFileHost> host;
    QTemporaryDir dir;
};

inline bool saveShot(QWidget* widget, const QString& name)
{
    QApplication::processEvents();
    const QImage image = widget->grab().toImage();
    return !image.isNull() && image.save(shotFolder() + QLatin1Char('/') + name);
}

// Clicks into the field and types, as a user does (ASCII only).
inline void type(QWidget* field, const QString& text)
{
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, text);
}

inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

// What a picker says when nobody is left to choose, opened with a click on
// opener and closed again with Ignore; empty while it lists someone.
inline QString emptyPickerSays(QWidget* opener, ContactSelect* picker)
{
    click(opener);
    if (!QTest::qWaitFor([picker] { return picker->isVisible(); }))
        return QStringLiteral("(the picker did not open)");
    QLabel* notice = picker->emptyNotice();
    const QString said = notice->isVisible() ? notice->text() : QString();
    click(picker->ignoreButton());
    return said;
}

inline void answerWarning(bool yes)
{
    PopUpWarning* warning = PopUpWarning::getInstance();
    click(yes ? warning->yesButton() : warning->noButton());
}

// The commands one screen sent, in order.
class Commands
{
public:
    template <typename Screen> explicit Commands(Screen* screen) : spy(screen, &Screen::command) {}
    int count() const { return spy.count(); }
    Command at(int i) const { return spy.at(i).at(0).value<Command>(); }
    QVariant payload(int i) const { return spy.at(i).at(1); }
    QList<int> all() const
    {
        QList<int> list;
        for (const QList<QVariant>& call : spy)
            list << int(call.at(0).value<Command>());
        return list;
    }
    int countOf(Command command) const { return all().count(int(command)); }
    void clear() { spy.clear(); }
    QSignalSpy& signalSpy() { return spy; }

private:
    QSignalSpy spy;
};

} // namespace ScreenTest

#endif // SCREENTESTSUPPORT_H
