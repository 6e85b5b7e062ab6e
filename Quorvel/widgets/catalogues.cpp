#include "widgets/catalogues.h"

#include "foundation/simpleqtlogger.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace {
QPointer<QTranslator> programCatalogue;
QPointer<QTranslator> qtCatalogue;

} // namespace

bool Catalogues::install(const QString& catalogue, const QString& code)
{
    uninstall();
    qtCatalogue = new QTranslator(qApp);
    if (qtCatalogue->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qtCatalogue);
    } else {
        L_WARN(QStringLiteral("Catalogues | Qt's catalogue qtbase_%1 is not installed").arg(code));
        delete qtCatalogue;
    }
    // Installed last, so the program's own texts win over Qt's.
    programCatalogue = new QTranslator(qApp);
    const bool loaded = programCatalogue->load(catalogue);
    if (loaded)
        QCoreApplication::installTranslator(programCatalogue);
    else
        delete programCatalogue;
    // The direction of the catalogue's language ("fa_IR": right to left).
    const QLocale language(loaded ? programCatalogue->language() : QString());
    QApplication::setLayoutDirection(loaded ? language.textDirection() : Qt::LeftToRight);
    return loaded;
}

void Catalogues::uninstall()
{
    for (QPointer<QTranslator>* t : {&programCatalogue, &qtCatalogue}) {
        if (*t) {
            QCoreApplication::removeTranslator(*t);
            delete t->data();
        }
    }
    QApplication::setLayoutDirection(Qt::LeftToRight);
}

bool Catalogues::hasQtCatalogue()
{
    return !qtCatalogue.isNull();
}
