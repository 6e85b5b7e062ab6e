#ifndef CHATMEMBER_H
#define CHATMEMBER_H

#include "widgets/popupwarning.h"

#include <QWidget>

class AvatarViewer;
class Label;
class QAction;
class QLabel;
class QMenu;

// One row of a group's managers or members: avatar, name, last activity,
// and a delete text and menu entry when the user may remove the member.
// A removal the user confirms is reported, and so is a wish to see the
// member's profile; the row sends no command.
class ChatMember : public QWidget
{
    Q_OBJECT
public:
    explicit ChatMember(QWidget* parent = nullptr);

    void setMemberId(const QString& id);
    QString getMemberId() const { return memberId; }
    void setName(const QString& name);
    void setAvatarUrl(const QString& url);
    void setLastSeen(unsigned int seconds);
    void setDeletable(bool value);
    bool isDeletable() const { return deletable; }

    QLabel* nameLabel() const { return name; }
    QLabel* timeLabel() const { return time; }
    Label* deleteText() const { return deleteLabel; }
    QMenu* contextMenu() const { return menu; }
    QAction* seeProfileAction() const { return profileAction; }

signals:
    void chatMemberDelete(QString id);
    void seeProfile(QString id);

public slots:
    void deleteClicked();
    void SeeProfieClicked() { emit seeProfile(memberId); }
    void popUpresponse(PopUpWarning::response res, QString applicator);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent*) override {}
    void wheelEvent(QWheelEvent*) override {}
    void paintEvent(QPaintEvent* event) override;

private:
    QString memberId;
    bool deletable = false;
    AvatarViewer* avatar;
    QLabel* name;
    QLabel* time;
    Label* deleteLabel;
    QMenu* menu;
    QAction* deleteAction;
    QAction* profileAction;
};

#endif // CHATMEMBER_H
