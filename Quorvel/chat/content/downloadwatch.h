#ifndef DOWNLOADWATCH_H
#define DOWNLOADWATCH_H

#include <QObject>

class ProgressCircle;
class StaticFile;

// Tells a content widget's download that failed from one the user stopped.
// The downloader ends a transfer with an error, or stops it by itself (an
// error status, a stalled transfer) in the same way as on the user's cancel:
// only the stop the user asked for is not a failure. A failure counts only
// while the transfer button shows a transfer under way; it puts the button
// back at "not transferred", so the next click retries.
class DownloadWatch : public QObject
{
    Q_OBJECT
public:
    DownloadWatch(StaticFile* file, ProgressCircle* circle, QObject* parent);

    // A new transfer from address, with the button already showing it under
    // way: a stop asked for earlier no longer counts. Without an address
    // there is nothing to fetch, and the transfer fails at once (false).
    bool started(const QString& address);
    // The user stops the transfer: call before telling the downloader.
    void stopByUser() { stopAsked = true; }

signals:
    // A transfer under way ended without the user asking.
    void failed();

private slots:
    void ended();
    void stopped();

private:
    ProgressCircle* circle;
    bool stopAsked = false;
};

#endif // DOWNLOADWATCH_H
