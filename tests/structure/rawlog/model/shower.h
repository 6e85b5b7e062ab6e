#include <QDebug>

// A peer-written text printed behind the logger's back.
inline void show(const QString& body)
{
    qDebug() << body;
}
