#ifndef BENCHCHILD_H
#define BENCHCHILD_H

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

// A benchmark that measures some of its work in a fresh process runs itself
// again in another mode; the child prints its figures as "name value" lines.

// Runs this program with the given arguments (and a data folder of its own
// when one is given) and reads back its "name value" lines.
inline QHash<QString, double> runChild(const QStringList& arguments,
                                       const QString& dataHome = QString())
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!dataHome.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        child.setProcessEnvironment(environment);
    }
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    QHash<QString, double> figures;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            figures.insert(QString::fromUtf8(parts[0]), parts[1].toDouble());
    }
    return figures;
}

#endif // BENCHCHILD_H
