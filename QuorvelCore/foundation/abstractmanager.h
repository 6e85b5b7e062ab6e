#ifndef ABSTRACTMANAGER_H
#define ABSTRACTMANAGER_H

#include <QObject>

// Base of every manager of the core. startLoading opens what the manager needs and emits
// loadingFinished() exactly once when it is ready; the managers are loaded one after
// another along that signal.
class AbstractManager : public QObject
{
    Q_OBJECT
public:
    explicit AbstractManager(QObject* parent = nullptr);

signals:
    void loadingFinished();

public slots:
    virtual void startLoading() = 0;
};

#endif // ABSTRACTMANAGER_H
