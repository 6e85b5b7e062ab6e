#ifndef VIEWMANAGER_H
#define VIEWMANAGER_H

#include "foundation/quorvelcore_export.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

// Collects the ids of viewed messages every 2000 ms. Views never leave the
// client: sendViews() sends nothing.
class QUORVELCORE_EXPORT ViewManager : public QObject
{
    Q_OBJECT
public:
    static const int kInterval = 2000;

    explicit ViewManager(QObject* parent = nullptr);

    void addView(const QString& messageId) { viewed.append(messageId); }
    void addView(const QStringList& messageIds) { viewed.append(messageIds); }
    QStringList getViews() const { return viewed; }
    void setup();
    bool isTimerActive() const { return timer.isActive(); }

public slots:
    void sendViews() {}

private:
    QTimer timer;
    QStringList viewed;
};

#endif // VIEWMANAGER_H
