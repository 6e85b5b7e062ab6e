// The kit gallery: every widget of the kit in its states on one window.
// Options: --scale PERCENT (100 by default), --ltr, --shot FILE (save a
// screenshot of the window once it has been painted, and one of each column
// beside it as FILE-1.png and FILE-2.png, then quit).

#include "kitgallery.h"
#include "widgets/interfacescale.h"
#include "widgets/popupmanager.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextCodec>
#include <QTimer>

int main(int argc, char* argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("scale"), QStringLiteral("Interface scale in per cent."),
                      QStringLiteral("percent"), QStringLiteral("100")});
    parser.addOption({QStringLiteral("shot"), QStringLiteral("Save a screenshot and quit."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("ltr"), QStringLiteral("Left to right.")});
    parser.process(app);

    // As in the program: the application font is chosen before scaling.
    KitGallery::prepareApplication();
    initInterfaceScaleWith(parser.value(QStringLiteral("scale")).toInt(), 96);
    QApplication::setLayoutDirection(parser.isSet(QStringLiteral("ltr")) ? Qt::LeftToRight
                                                                         : Qt::RightToLeft);
    KitGallery gallery;
    gallery.show();
    PopupManager::resizeToMainWindow();

    if (parser.isSet(QStringLiteral("shot"))) {
        const QString file = parser.value(QStringLiteral("shot"));
        QDir().mkpath(QFileInfo(file).absolutePath());
        QTimer::singleShot(1000, &gallery, &KitGallery::showToast);
        QTimer::singleShot(1500, &app, [&gallery, file]() {
            // Cut from the whole window: a grab of a part leaves out the
            // faded widgets (the toast) inside it.
            const QPixmap whole = gallery.grab();
            bool saved = whole.save(file);
            const QList<QWidget*> columns = gallery.columnWidgets();
            QString stem = file;
            if (stem.endsWith(QStringLiteral(".png")))
                stem.chop(4);
            for (int i = 0; i < columns.size(); ++i)
                saved = whole.copy(columns.at(i)->geometry())
                            .save(stem + QStringLiteral("-%1.png").arg(i + 1)) &&
                        saved;
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    const int rc = app.exec();
    PopupManager::deleteInstance();
    return rc;
}
