#ifndef CHATWINDOW_H
#define CHATWINDOW_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "model/channelinfo.h"
#include "model/channelmembersreply.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/lvreply.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagestate.h"
#include "model/polldata.h"
#include "webapi/FileApi/uploadrequest.h"
#include "widgets/popupwarning.h"

#include <QDateTime>
#include <QPointer>
#include <QSet>
#include <QVariant>
#include <QWidget>

class AvatarDownloader;
class ChannelProfileAdmin;
class ChannelProfileNormal;
class ContactProfile;
class GroupProfile;
class ChatInputBar;
class ChatMessageContainer;
class ChatMessageWidget;
class ChatProfilePanels;
class ChatWindowTitle;
class CustomScrollArea;
class CustomTextEdit;
class EditMessageWidget;
class FlatButton;
class LikeTracker;
class MessageBoard;
class QKeyEvent;
class ReplyMessageWidget;
class SenderProfiles;
class QTimer;

// The view of one conversation: title, the message board of day containers
// (MessageBoard), reply and edit bars, the input bar (ChatInputBar) or a
// strip in its place, and the profile panels (ChatProfilePanels). Pages the
// history into the board, keeps the view steady while it grows, sends what
// the user typed or attached and tells the core what was seen. Talks to the core only through its
// command signal, which its chat-list row passes on; the core's answers come back through the row.
class ChatWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int pageSize = 5;
    // The most bubbles the board keeps around what the user looks at (more
    // in a window tall enough to show more than a third of them at once);
    // the rest are known to it only by id, or not at all.
    static constexpr int boardLimit = 90;
    // How many later messages are asked for at a time when the view comes
    // near the board's end.
    static constexpr int refillSize = 20;

    explicit ChatWindow(QWidget* parent = nullptr);
    ~ChatWindow() override;

    void setChatId(const QString& id) { chatId = id; }
    QString getChatId() const { return chatId; }
    void setChatType(MessageBase::MsgMajorType type) { chatType = type; }
    MessageBase::MsgMajorType getChatType() const { return chatType; }

    void setContactProfile(const Contact& contact);
    void setContact(const Contact& contact);
    void setGroupProfile(const GroupInfo& info);
    void updateGroupInfo(const GroupInfo& info);
    void updateGroupRemoved(const GroupInfo& info);
    void setGroupInfoMembers(const GroupInfoMembers& members);
    // The group's members as its latest members answer listed them.
    GroupInfoMembers getGroupInfoMembers() const { return groupMembers; }
    void setChannelProfile(const ChannelInfo& info);
    void updateMuteButton(bool muted);
    // The profile panel of the window's kind, over the whole window.
    void setChannelMembersReply(const ChannelMembersReply& reply);
    void setContactLastSeen(const QString& number, const QDateTime& lastSeen);
    void hideProfilePanels();
    ContactProfile* contactPanel() const;
    GroupProfile* groupPanel() const;
    ChannelProfileNormal* followerPanel() const;
    ChannelProfileAdmin* adminPanel() const;
    FlatButton* pollButton() const;
    void focusInput();

    // History and the board.
    void requestMessage(int number, const QString& messageId);
    void initiateChatMessage();
    void chatMessageResponse(const MessageReply& reply);
    void loadOlderMessages();
    bool isScrollBarAvailable();
    int boardContentHeight();
    bool addMessageWidget(const Message& msg, bool hasReply, const Message& replied);
    bool appendMessage(const Message& msg);
    bool appendMessagePair(const MessagePair& pair);
    void setMessageState(const MessageState& state);
    AvatarDownloader* getAvatarDownloader(const QString& userId);
    void setMembersProfiles(const Members& members);

    // Seen state, likes and views. The chat's seen goes out once its newest
    // message has been in view in the active window, not when it is opened.
    void sendSeen(const QString& id);
    void sendSeenIfActive();
    // A message has come that the user has not yet had in view.
    bool hasUnseen() const { return seenOwed; }
    void requestLikeViews(const QStringList& ids);
    void setLikeViews(const LVReply& reply);
    QSet<ChatMessageWidget*> collectVisibleMessages() const;

    // For the window's callers and tests.
    CustomTextEdit* input() const;
    ChatWindowTitle* title() const { return windowTitle; }
    ReplyMessageWidget* replyBar() const { return replyWidget; }
    EditMessageWidget* editBar() const { return editWidget; }
    CustomScrollArea* scrollArea() const { return scroll; }
    FlatButton* sendButton() const;
    FlatButton* strip() const { return muteButton; }
    QWidget* inputBar() const;
    ChatMessageWidget* bubble(const QString& msgId) const;
    // The message ids on the board, oldest first.
    QStringList boardMessageIds() const;
    QList<ChatMessageContainer*> containers() const;
    bool likeViewTimerActive() const;

signals:
    void command(Command command, QVariant request);
    void select();
    void muteChannelClicked(bool mute);
    void createPoll(QString channelId);
    void sendSeenCount(int count);
    // A chat with this person is to be opened (from a group member's profile).
    void startMessaging(Contact contact);

public slots:
    void getMessage();
    void sendRecordClicked();
    void sendMessage();
    void rangeChanged(int min, int max);
    void vScrollChanged(int value);
    void selectSidePanelWidget();
    void muteClicked();
    void emojiBtnClicked();
    void attachBtnClicked();
    void uploadError(ChatMessageWidget* messageWidget, int errorCode);
    void startDownloadsIfSettingsChanged();
    void postPoll(QString channelId, PollData pollData);
    void sendXMPPMessage(Message msg);
    void pollBtnClicked();
    void addTag(QString tag);
    void keyPressed(QKeyEvent* e);
    void showChatWindow();
    void hideChatWindow();
    void startLikeViewAnalysis();
    void finishLikeViewAnalysis();
    void likeStatusChange(QString msgId, bool liked);
    void avatarChanged(QString userID, QString userNickName, QPixmap avatar);
    void replyMessage(Message mess);
    void closeReply();
    void closeEdit();
    void editMessage(Message mess);
    void warningPopupResponse(PopUpWarning::response response, QString applicator);
    void showProfile();
    void replyOutLineClicked(QString msgID);
    // Files the user attached: one upload bubble each on today's container.
    void attachFiles(const QStringList& paths);
    void addUploadMessage(const UploadRequest& request, const QString& caption);
    ChatMessageWidget* addUploadMessageWidget(const UploadRequest& request, const QString& caption);
    // Attachments of channels go to the static host, all others to the file host.
    static UploadMode uploadModeFor(MessageBase::MsgMajorType chatType);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // A group's title and notices as its latest members answer shows it.
    void showGroupTitle();
    void showNotice(const QString& msgId);
    // What a bubble or the reply bar calls its sender: in a group as its
    // notices name him; in a chat the other one as the title does, anyone
    // else by his nickname or as the user knows him.
    QString senderName(const QString& userId, const QString& nickName) const;
    // Every name shown on the board and the reply bar, as now known.
    void showNames();
    void initLayout();
    // Lays the board out now at its new height after a page went in, and
    // keeps the view where it was.
    void settleBoard();
    void placeView();
    // Drops the bubbles farthest from the view beyond the board's limit.
    void trimBoard();
    ChatMessageWidget* anchorBubble() const;
    // A message from the core: on the board, among its later ones, or left
    // to a page when it sorts above what the board shows.
    bool arrive(const Message& msg, bool hasReply, const Message& replied);
    void addFromReply(const MessageReply& reply, const Message& message);
    // The board's later messages came back from the core.
    void fillLater(const MessageReply& reply);
    enum WantedView
    {
        WantUnseen,
        WantOriginal,
        WantNewest
    };
    bool restartBoardAt(const QString& msgId, WantedView view);
    // A reply's original, highlighted and in view.
    void showOriginal(ChatMessageWidget* target);
    // Asks for the board's later messages when the view is near its end.
    void refillIfNear();
    // The arrivals, scrolls and pages of a turn of the event loop are laid
    // out, trimmed and followed up once, at its end.
    void endTurnSoon();
    void endOfTurn();
    ChatMessageContainer* containerFor(const Message& msg);
    // The bubble at the top of the view, kept so that growth of the board
    // above it never moves what the user looks at.
    void rememberAnchor();
    void stopAskingPopup();
    // Brings the board's newest bubble into view when msg is the user's own.
    void followOwnMessage(const Message& msg, bool added);
    // A new message on the board: the chat owes a seen until its newest
    // message has been in view.
    void noteNewMessage(const Message& msg, bool added);
    bool newestInView() const;
    // A window shown again with messages the user has not seen opens at the
    // first of them.
    void openAtFirstUnseen();
    void closeEmojiPicker();

    QString chatId;
    MessageBase::MsgMajorType chatType = MessageBase::MsgMajorType_None;
    Contact contact;
    GroupInfo groupInfo;
    GroupInfoMembers groupMembers;
    ChannelInfo channelInfo;
    int lastScrollMaximum = 0;
    // The next growth of the board keeps the view at the bottom.
    bool showNewest = false;
    bool channelMuted = false;
    QPointer<ChatMessageWidget> anchor;
    int anchorOffset = 0;
    // The view is at the newest message and follows what arrives.
    bool atEnd = true;
    bool refillPending = false;
    QString refillAsked;
    // The message the board started anew at, to be brought into view once
    // a page brings it: the first unseen one, a reply's original, or the
    // user's own message.
    QString wanted;
    WantedView wantedView = WantOriginal;
    // Seen state: whether a seen is owed, the first message that came since
    // the last one, and whether the history has answered (an empty chat is
    // seen once it is known to be empty).
    bool seenOwed = true;
    QString firstUnseenId;
    bool historyAnswered = false;
    bool placingView = false;
    QString askedApplicator;

    LikeTracker* likeTracker;
    ChatWindowTitle* windowTitle;
    CustomScrollArea* scroll;
    MessageBoard* messageBoard;
    ReplyMessageWidget* replyWidget;
    // The sender of the message the reply bar answers.
    QString replyingTo;
    EditMessageWidget* editWidget;
    ChatInputBar* editingWidget;
    FlatButton* muteButton;
    ChatProfilePanels* panels;
    SenderProfiles* senderProfiles;
    QTimer* turnEnd;
};

#endif // CHATWINDOW_H
