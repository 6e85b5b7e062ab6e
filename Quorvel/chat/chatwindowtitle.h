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
    // When the contact shown (by his number) was last seen, as a text; shown
    // on the lower line before his number.
    void setLastSeen(const QString& number, const QString& text);
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
    // The contact's lower line: when he was last seen and his number.
    void showContactLine();

    QLabel* titleLabel;
    QLabel* subtitleLabel;
    QString contactNumber;
    QString shownNumber;
    QString seenText;
};

#endif // CHATWINDOWTITLE_H
