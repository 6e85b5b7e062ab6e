#ifndef ICONBUTTONUNREADCOUNT_H
#define ICONBUTTONUNREADCOUNT_H

#include "widgets/iconbutton.h"

// An icon button with an unread-count badge hanging from the middle of its
// top edge. A count of 0 or below shows no badge.
class IconButtonUnreadCount : public IconButton
{
    Q_OBJECT
public:
    IconButtonUnreadCount(const QSize& size, const QString& iconPath, QWidget* parent = nullptr);

    void setUnreadCount(int count);
    int getUnreadCount() const { return count; }
    const QLabel* badgeLabel() const { return &badge; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeBadge();

    QLabel badge;
    int count = 0;
};

#endif // ICONBUTTONUNREADCOUNT_H
