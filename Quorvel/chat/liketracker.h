#ifndef LIKETRACKER_H
#define LIKETRACKER_H

#include <QObject>
#include <QSet>
#include <QStringList>

class ChatMessageWidget;
class QTimer;

// Which bubbles of a channel have been in view long enough to ask for their
// likes and views: a bubble seen for 3 s or more is asked for at most once
// every 75 s. Each look is compared with the last; lookAgain comes 3 s after
// the last look while the window is shown.
class LikeTracker : public QObject
{
    Q_OBJECT
public:
    explicit LikeTracker(QObject* parent = nullptr);

    // The bubbles in view now; answers the message ids to ask for.
    QStringList look(const QSet<ChatMessageWidget*>& visible);
    void reset();
    // The bubble is going away: it is looked at no more.
    void forget(ChatMessageWidget* bubble);
    bool timerActive() const;

signals:
    void lookAgain();

private:
    QSet<ChatMessageWidget*> previousVisible;
    QSet<ChatMessageWidget*> currentVisible;
    QTimer* timer;
};

#endif // LIKETRACKER_H
