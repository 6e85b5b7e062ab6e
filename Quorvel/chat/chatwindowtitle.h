#ifndef CHATWINDOWTITLE_H
#define CHATWINDOWTITLE_H

#include <QFrame>

class ChannelInfo;
class Contact;
class GroupInfo;
class QLabel;

// The header of a chat window: the conversation's name over a detail line
// (a contact's number, a group's or channel's member count). A left click
// opens the conversation's profile.
class ChatWindowTitle : public QFrame
{
    Q_OBJECT
public:
    explicit ChatWindowTitle(QWidget* parent = nullptr);

    void setContact(const Contact& contact);
    void setGroupInfo(const GroupInfo& info);
    void setChannelInfo(const ChannelInfo& info);
    QString memberCountText(int count) const;

    QString titleText() const;
    QString subtitleText() const;

signals:
    void clicked();

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* titleLabel;
    QLabel* subtitleLabel;
};

#endif // CHATWINDOWTITLE_H
