#ifndef CHATMESSAGEWIDGET_H
#define CHATMESSAGEWIDGET_H

#include "Managers/command.h"
#include "model/message.h"
#include "webapi/FileApi/uploadrequest.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

class DoubleStateButton;
class IconButton;
class MessageBody;
class QAction;
class QFrame;
class QHBoxLayout;
class QLabel;
class QMenu;
class QTextDocument;
class QVBoxLayout;
class OtherFileWidget;
class PTTWidget;
class PollWidget;
class ReplyMessageOutLine;
class SenderName;
class Thumbnail;

// One message on a chat window's board: text (or the content widget of its
// kind), the sender's name in the sender's colour, the quoted message it
// replies to, the send time, the tick of the user's own messages, the edited
// mark and, on channel posts, the like button and count. Side 0 is the
// user's own message, side 1 everyone else's.
class ChatMessageWidget : public QWidget
{
    Q_OBJECT
public:
    ChatMessageWidget(const Message& msg, int side, bool hasReply, const Message& repliedMessage,
                      QWidget* parent = nullptr);
    // The bubble of a file the user is sending now; filled by the upload code.
    explicit ChatMessageWidget(QWidget* parent = nullptr);

    void setMessage(const Message& msg);
    // A message left not sent shows why, when it is known.
    void setState(MessageBase::MsgState state,
                  MessageBase::SendFailure failure = MessageBase::SendFailure_None);
    void setLikes(int count);
    void showEditedIcon(const QString& userId, bool edited);
    void setSenderLabel(const QString& name);
    void setReplySenderName(const QString& name);
    void setAvatar(const QPixmap& avatar);
    void setSendTime(qint64 msecs);

    Message getMessage() const { return message; }
    QString getMessageId() const { return message.getMessageId(); }
    QString getUserId() const { return message.getUserId(); }
    qint64 getSendTime() const { return message.getSendTimeInGMT(); }
    QString getRepliedUserId() const;
    int getSide() const { return side; }
    unsigned int getVisibleSince() const { return visibleSince; }
    void setVisibleSince(unsigned int value) { visibleSince = value; }
    unsigned int getLastLikeViewRequest() const { return lastLikeViewRequest; }
    void setLastLikeViewRequest(unsigned int value) { lastLikeViewRequest = value; }

    static QColor userColor(const QString& userId);
    void highlight();

    // What the bubble shows, for its callers and tests.
    QString bodyHtml() const;
    QString bodyPlainText() const;
    // A notice's words, as its chat window names the people in it.
    void setNoticeText(const QString& text);
    // The body as it reads: emoji pictures as their characters.
    QString shownText() const;
    QString timeText() const;
    QString senderText() const;
    QString tickKey() const { return shownTick; }
    // Why the message is not sent, as the bubble says it; empty when it says nothing.
    QString failureText() const;
    bool editedMarkShown() const;
    QString likesText() const;
    MessageBody* bodyWidget() const { return body; }
    ReplyMessageOutLine* replyOutline() const { return outline; }
    DoubleStateButton* likeButton() const { return likeBtn; }
    // The context menu's actions for the message as it is now.
    QList<QAction*> prepareMenu();

    // Content other than text.
    void startAutoDownload();
    // A download or upload of its content is under way.
    bool transferRunning() const;
    // Fills a bubble made with the parent-only constructor for a file being
    // sent now and returns the message it will send once uploaded.
    Message buildUploadMessage(const UploadRequest& request, const QString& chatId,
                               MessageBase::MsgMajorType majorType, const QString& body,
                               const Message& replied);
    Thumbnail* thumbnailWidget() const { return thumbnail; }
    OtherFileWidget* otherFileWidget() const { return fileWidget; }
    PTTWidget* pttWidget() const { return voiceWidget; }
    PollWidget* pollContent() const { return pollWidget; }

signals:
    void sendXMPPMessage(Message msg);
    void setFilePath(Message msg);
    void uploadError(ChatMessageWidget* msgWidget, int errorCode);
    void likeStatusChange(QString msgId, bool checked);
    void replyMessage(Message mess);
    void editMessage(Message mess);
    void replyOutLineClicked(QString msgID);
    void command(Command command, QVariant request);

public slots:
    void sendMessage(const FileMessage& fMsg);
    void setFilePathForMessage(const FileMessage& fMessage);
    void uploadFailed(int errorCode);
    void showOnViewer(const QString& filepath);
    void linkActivated(const QUrl& url);
    void getMessageDetails();
    void likeButtonClicked(bool checked);
    void replyMessage();
    void editMessage();
    void copySelectedText();
    void copyText();
    void updateBgColor();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void setUp();
    void createSenderLabel();
    void setReplyMessage(bool hasReply, const Message& replied);
    void setSide(int side);
    void buildContent(bool upload);
    // The content widget of the message's kind (stickers, files, locations,
    // polls) goes in here; returns false when that content ends the bubble.
    bool buildKindContent(bool upload);
    void buildSticker();
    void buildOtherFile(bool upload);
    void buildControlMessage();
    void buildFooter();
    void finalTouch();
    void createLikeWidgets();
    // The context menu and its actions, made when first wanted.
    void createMenu();
    void updateStateIcon();
    void updateFailureNote();
    void relayOut();

    int side = 0;
    Message message;
    MessageBody* body;
    QTextDocument* document;
    SenderName* senderLabel = nullptr;
    ReplyMessageOutLine* outline = nullptr;
    Message repliedMessage;
    QLabel* timeLabel;
    QLabel* stateLabel = nullptr;
    QLabel* editedLabel = nullptr;
    QLabel* failureLabel = nullptr;
    QFrame* frame;
    QHBoxLayout* mainRow;
    QVBoxLayout* frameColumn;
    QVBoxLayout* contentColumn;
    QHBoxLayout* footerRow;
    QLabel* likesCountLabel = nullptr;
    QLabel* likeIconLabel = nullptr;
    IconButton* avatarButton = nullptr;
    DoubleStateButton* likeBtn = nullptr;
    unsigned int visibleSince = 2147483647u;
    unsigned int lastLikeViewRequest = 0;
    QMenu* menu = nullptr;
    QAction* replyAction = nullptr;
    QAction* editAction = nullptr;
    QAction* copySelectionAction = nullptr;
    QAction* copyTextAction = nullptr;
    bool hasReply = false;
    QString shownTick;
    Thumbnail* thumbnail = nullptr;
    OtherFileWidget* fileWidget = nullptr;
    PTTWidget* voiceWidget = nullptr;
    PollWidget* pollWidget = nullptr;
    UploadMode uploadMode = UploadMode_File;
};

#endif // CHATMESSAGEWIDGET_H
