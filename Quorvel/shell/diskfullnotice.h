#ifndef DISKFULLNOTICE_H
#define DISKFULLNOTICE_H

#include <QLabel>

// The strip under the top bar that stays while new messages wait on the
// server because the disk is full, and goes once they are taken again.
class DiskFullNotice : public QLabel
{
    Q_OBJECT
public:
    explicit DiskFullNotice(QWidget* parent = nullptr);

    // Shown (and raised above the panels) while waiting.
    void setWaiting(bool waiting);
    // Lays the strip over the top of the window's content, width wide.
    void place(int top, int width);
};

#endif // DISKFULLNOTICE_H
