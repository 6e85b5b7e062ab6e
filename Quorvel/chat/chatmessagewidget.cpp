#include "chat/chatmessagewidget.h"
#include "widgets/progresscircle.h"

#include "chat/content/otherfilewidget.h"
#include "chat/content/pttwidget.h"
#include "chat/content/thumbnail.h"
#include "screens/poll/pollwidget.h"
#include "widgets/viewer.h"

#include "chat/bubbletext.h"
#include "chat/messagebody.h"
#include "chat/replymessageoutline.h"
#include "chat/sendername.h"
#include "foundation/desktopopener.h"
#include "foundation/linkgenerator.h"
#include "foundation/numbertext.h"
#include "foundation/simpleqtlogger.h"
#include "widgets/biditext.h"
#include "widgets/currentuser.h"
#include "widgets/doublestatebutton.h"
#include "widgets/fonts.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/pixmapcaching.h"
#include "widgets/senderpalette.h"
#include "widgets/stylesheetpaint.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QPixmapCache>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace {
const int bodyMaxWidth = 290;

const QMap<QString, QString>& bubbleImages()
{
    static const QMap<QString, QString> images{
        {QStringLiteral("msgStateNotSentKEY"),
         QStringLiteral(":/Images/ic_message_schedule_white.png")},
        {QStringLiteral("msgStateFailedKEY"), QStringLiteral(":/Images/ic_message_failed.png")},
        {QStringLiteral("msgStateSentKEY"), QStringLiteral(":/Images/ic_message_tick_white.png")},
        {QStringLiteral("msgStateDeliveredKEY"),
         QStringLiteral(":/Images/ic_message_tick_double_white.png")},
        {QStringLiteral("msgStateSeenKEY"),
         QStringLiteral(":/Images/ic_message_tick_double_green.png")},
        {QStringLiteral("msgEditBlackIcon"), QStringLiteral(":/Images/ic_edit_black_32.png")},
        {QStringLiteral("msgEditWhiteIcon"), QStringLiteral(":/Images/ic_edit_white_32.png")}};
    return images;
}

// A message of the user's that will not go out as things stand.
bool notSentFor(const Message& message)
{
    return message.getState() == MessageBase::MsgState_NotSent &&
           message.getSendFailure() != MessageBase::SendFailure_None;
}

bool isChannelPost(const Message& message)
{
    return message.getMajorType() == MessageBase::MsgMajorType_ChannelChat;
}
} // namespace

ChatMessageWidget::ChatMessageWidget(const Message& msg, int side, bool reply,
                                     const Message& replied, QWidget* parent)
    : QWidget(parent)
{
    setUp();
    setReplyMessage(reply, replied);
    setSide(side);
    setMessage(msg);
    setSendTime(msg.getSendTimeInGMT());
    buildContent(false);
}

ChatMessageWidget::ChatMessageWidget(QWidget* parent) : QWidget(parent)
{
    setUp();
    setSide(0);
}

void ChatMessageWidget::setUp()
{
    setContentsMargins(10, 5, 10, 5);
    cachePixmaps(bubbleImages(), QSize(scaleValue(14), scaleValue(14)));
    setObjectName(QStringLiteral("ChatMessageWidget"));

    body = new MessageBody(this);
    document = new QTextDocument(this);
    body->setDocument(document);
    timeLabel = new QLabel(this);
    frame = new QFrame(this);
    mainRow = new QHBoxLayout;
    frameColumn = new QVBoxLayout;
    contentColumn = new QVBoxLayout;
    footerRow = new QHBoxLayout;

    frameColumn->setContentsMargins(0, 0, 0, 0);
    frameColumn->setSpacing(0);
    frame->setFrameStyle(0);
    connect(body, &MessageBody::anchorClicked, this, &ChatMessageWidget::linkActivated);

    const QFont font = Fonts::getFont(baseFontSize);
    timeLabel->setFont(font);
    timeLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    timeLabel->setParent(frame);
    mainRow->setContentsMargins(0, 0, 0, 0);
    mainRow->setSpacing(0);
}

// The sender's name, the tick and the edited mark are made only for the
// bubbles that show them: every widget of a bubble costs its share of each
// page of history.
void ChatMessageWidget::createSenderLabel()
{
    senderLabel = new SenderName(frame);
    frameColumn->addWidget(senderLabel);
}

void ChatMessageWidget::createMenu()
{
    if (menu)
        return;
    menu = new QMenu(this);
    menu->setMinimumWidth(80);
    menu->setFont(Fonts::getFont(baseFontSize));
    replyAction = new QAction(tr("_ReplyMessage"), this);
    editAction = new QAction(tr("_EditMessage"), this);
    copySelectionAction = new QAction(tr("_CopySelectedText"), this);
    copyTextAction = new QAction(tr("_CopyText"), this);
    connect(replyAction, &QAction::triggered, this, qOverload<>(&ChatMessageWidget::replyMessage));
    connect(editAction, &QAction::triggered, this, qOverload<>(&ChatMessageWidget::editMessage));
    connect(copySelectionAction, &QAction::triggered, this, &ChatMessageWidget::copySelectedText);
    connect(copyTextAction, &QAction::triggered, this, &ChatMessageWidget::copyText);
}

void ChatMessageWidget::setReplyMessage(bool reply, const Message& replied)
{
    hasReply = reply;
    if (!reply)
        return;
    outline = new ReplyMessageOutLine(this);
    outline->setMessage(replied);
    outline->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    repliedMessage = replied;
    connect(outline, &ReplyMessageOutLine::clicked, this, &ChatMessageWidget::replyOutLineClicked);
}

void ChatMessageWidget::setSide(int value)
{
    side = value;
    const bool mine = side == 0;
    frame->setObjectName(mine ? QStringLiteral("Sender") : QStringLiteral("Receiver"));
    body->setObjectName(mine ? QStringLiteral("SimpleChatMessageContentBodyByMe")
                             : QStringLiteral("SimpleChatMessageContentBodyByOthers"));
    timeLabel->setObjectName(mine ? QStringLiteral("ChatMessageSentTimeByMe")
                                  : QStringLiteral("ChatMessageSentTimeByOthers"));
    // A bubble not yet polished takes its looks when first shown; only one
    // already on screen has its style sheet applied again.
    if (!testAttribute(Qt::WA_WState_Polished))
        return;
    for (QWidget* w : {static_cast<QWidget*>(frame), static_cast<QWidget*>(body),
                       static_cast<QWidget*>(timeLabel)})
        w->setStyleSheet(QString());
}

void ChatMessageWidget::setMessage(const Message& msg)
{
    message = msg;
    // Typed text shows as typed: only the emoji pictures and marked links
    // of the body are markup.
    const QString html = BubbleText::shownHtml(msg.getMessageBody());

    // Measured on the bubble's own document, away from the body's layout:
    // the ideal width, capped at the bubble's text width.
    document->setDefaultFont(Fonts::getFont(baseFontSize));
    QTextOption option = document->defaultTextOption();
    // A word longer than the bubble breaks rather than widening it.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(option);
    document->setTextWidth(-1);
    document->clear();
    // Links take the palette's dark blue, which does not read on the own
    // bubble's green: there they are white like its text (and underlined).
    document->setDefaultStyleSheet(side == 0 ? QStringLiteral("a { color: #ffffff; }") : QString());
    document->setHtml(html);
    // The ideal width leaves out the document's margins on both sides.
    const qreal ideal = std::ceil(document->idealWidth()) + 2 * document->documentMargin();
    document->setTextWidth(ideal <= bodyMaxWidth ? ideal : bodyMaxWidth);
    body->setFixedSize(document->size().toSize());
    if (outline)
        outline->fitTo(bodyMaxWidth);
    if (isChannelPost(msg))
        createLikeWidgets();
}

void ChatMessageWidget::setSendTime(qint64 msecs)
{
    timeLabel->setText(QDateTime::fromMSecsSinceEpoch(msecs).toString(QStringLiteral("hh:mm")));
    timeLabel->adjustSize();
}

void ChatMessageWidget::buildContent(bool upload)
{
    if (message.getMajorType() == MessageBase::MsgMajorType_ControlMessage) {
        buildControlMessage();
        return;
    }
    // One-to-one bubbles never name their sender.
    if (message.getMajorType() != MessageBase::MsgMajorType_SimpleChat)
        createSenderLabel();
    if (hasReply) {
        auto* replyRow = new QHBoxLayout;
        replyRow->setContentsMargins(5, 5, 5, 5);
        replyRow->addWidget(outline);
        if (side == 0)
            outline->setStyleByMe();
        else
            outline->setStyleByOther();
        replyRow->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        frameColumn->addLayout(replyRow);
    }
    setLayoutDirection(side == 0 ? Qt::LeftToRight : Qt::RightToLeft);
    if (!buildKindContent(upload))
        return;
    if (!body->document()->isEmpty())
        contentColumn->addWidget(body);
    else
        body->hide();
    if (contentColumn->count() > 0) {
        contentColumn->setContentsMargins(2, 0, 2, 0);
        frameColumn->addLayout(contentColumn);
    }
    buildFooter();
    finalTouch();
}

bool ChatMessageWidget::buildKindContent(bool upload)
{
    const MessageBase::MsgMinorType minor = message.getMinorType();
    const FileMessage file = message.getFileMessage();
    if (minor == MessageBase::MsgMinorType_Sticker) {
        buildSticker();
        return false;
    }
    if (minor == MessageBase::MsgMinorType_Location) {
        fileWidget = new OtherFileWidget(this, false);
        fileWidget->setLocationMessage(message.getLocationMessage(), side == 0);
        fileWidget->show();
        frameColumn->addWidget(fileWidget, 0, Qt::AlignHCenter);
        return true;
    }
    if (minor == MessageBase::MsgMinorType_Poll) {
        pollWidget = new PollWidget;
        pollWidget->setPollData(message.getPollData(), side == 0);
        contentColumn->insertWidget(0, pollWidget);
        return true;
    }
    if (minor != MessageBase::MsgMinorType_File)
        return true;
    switch (file.getFileType()) {
    case FileMessage::MsgFileType_Image:
    case FileMessage::MsgFileType_Video:
    case FileMessage::MsgFileType_Gif: {
        const bool gif = file.getFileType() == FileMessage::MsgFileType_Gif;
        thumbnail = new Thumbnail(this, upload);
        thumbnail->setObjectName(QStringLiteral("ThumbnailWidget"));
        thumbnail->setUploadMode(uploadMode);
        const auto major = message.getMajorType();
        if (!gif && !hasReply &&
            (major == MessageBase::MsgMajorType_SimpleChat ||
             (major == MessageBase::MsgMajorType_GroupChat && side == 0)))
            frameColumn->addItem(new QSpacerItem(1, 10, QSizePolicy::Fixed, QSizePolicy::Fixed));
        const Qt::ConnectionType kind = gif ? Qt::AutoConnection : Qt::UniqueConnection;
        connect(thumbnail, &Thumbnail::sendMessage, this, &ChatMessageWidget::sendMessage, kind);
        connect(thumbnail, &Thumbnail::setFilePath, this, &ChatMessageWidget::setFilePathForMessage,
                kind);
        if (!gif)
            connect(thumbnail, &Thumbnail::showOnViewer, this, &ChatMessageWidget::showOnViewer);
        thumbnail->setFileMessage(file);
        if (gif)
            thumbnail->show();
        frameColumn->addWidget(thumbnail, 0, Qt::AlignHCenter);
        return true;
    }
    case FileMessage::MsgFileType_PushToTalk:
        voiceWidget = new PTTWidget(this);
        voiceWidget->setFileMessage(file, side == 0);
        voiceWidget->show();
        contentColumn->addWidget(voiceWidget, 0, Qt::AlignHCenter);
        return true;
    case FileMessage::MsgFileType_Other:
        buildOtherFile(upload);
        return false;
    default:
        break;
    }
    if (file.getFileType() == FileMessage::MsgFileType_None) {
        const QString type =
            message.getOtherFields().value(QStringLiteral("FILE_TYPE")).toVariant().toString();
        body->setPlainText(QStringLiteral("FILE_TYPE_NONE | ") + type);
        body->document()->setTextWidth(-1);
        body->setFixedSize(body->document()->size().toSize());
    }
    return true;
}

void ChatMessageWidget::buildSticker()
{
    thumbnail = new Thumbnail(this, false);
    thumbnail->setFixedSize(Thumbnail::kStickerBox);
    thumbnail->setStickerMessage(message.getStickerMessage());
    body->hide();
    frame->hide();
    mainRow->setContentsMargins(5, 5, 5, 5);
    finalTouch();
    mainRow->removeWidget(frame);
    // The sticker stands where the frame would: before the trailing spacer.
    mainRow->insertWidget(mainRow->count() - 1, thumbnail);
}

void ChatMessageWidget::buildOtherFile(bool upload)
{
    fileWidget = new OtherFileWidget(this, upload);
    fileWidget->setUploadMode(uploadMode);
    connect(fileWidget, &OtherFileWidget::sendMessage, this, &ChatMessageWidget::sendMessage);
    connect(fileWidget, &OtherFileWidget::setFilePath, this,
            &ChatMessageWidget::setFilePathForMessage);
    connect(fileWidget, &OtherFileWidget::uploadError, this, &ChatMessageWidget::uploadFailed);
    fileWidget->setFileMessage(message.getFileMessage(), side == 0);
    fileWidget->show();
    body->hide();
    frameColumn->setSpacing(0);
    frameColumn->addWidget(fileWidget, 0, Qt::AlignHCenter);
    buildFooter();
    finalTouch();
}

void ChatMessageWidget::sendMessage(const FileMessage& fMsg)
{
    message.setFileMessage(fMsg);
    L_DEBUG(QStringLiteral("ChatMessageWidget::sendMessage | ") +
            QString::fromUtf8(QJsonDocument(message.toDBJson()).toJson(QJsonDocument::Compact)));
    emit sendXMPPMessage(message);
}

void ChatMessageWidget::setFilePathForMessage(const FileMessage& fMessage)
{
    message.setFileMessage(fMessage);
    L_DEBUG(QStringLiteral("ChatMessageWidget::setFilePathForMessage | ") + fMessage.getFilePath());
    emit setFilePath(message);
}

void ChatMessageWidget::uploadFailed(int errorCode)
{
    emit uploadError(this, errorCode);
}

void ChatMessageWidget::showOnViewer(const QString& filepath)
{
    Viewer::getInstance()->showImage(filepath);
}

void ChatMessageWidget::startAutoDownload()
{
    if (message.getMinorType() != MessageBase::MsgMinorType_File)
        return;
    const FileMessage::MsgFileType type = message.getFileMessage().getFileType();
    if (thumbnail &&
        (type == FileMessage::MsgFileType_Image || type == FileMessage::MsgFileType_Video ||
         type == FileMessage::MsgFileType_Gif))
        thumbnail->startAutoDownload();
    else if (fileWidget && type == FileMessage::MsgFileType_Other)
        fileWidget->startAutoDownload();
}

bool ChatMessageWidget::transferRunning() const
{
    for (const ProgressCircle* circle : findChildren<ProgressCircle*>()) {
        if (circle->value() > 0 && circle->value() < 100)
            return true;
    }
    return false;
}

Message ChatMessageWidget::buildUploadMessage(const UploadRequest& request, const QString& chatId,
                                              MessageBase::MsgMajorType majorType,
                                              const QString& caption, const Message& replied)
{
    Message out;
    out.setChatId(chatId);
    out.setMajorType(majorType);
    out.setMinorType(MessageBase::MsgMinorType_File);
    out.setMessageBody(caption);
    out.setFileMessage(request.getFileMessage());
    out.setSendTimeToCurrentTime();
    out.setUserId(currentUserName);
    out.generateMessageId();
    out.setState(MessageBase::MsgState_NotSent);
    if (!replied.isEmpty()) {
        out.setReplyOnMessageId(replied.getMessageId());
        out.setReplyOnThreadId(replied.getChatId());
        setReplyMessage(true, replied);
    }
    uploadMode = request.getMode();
    setSide(0);
    setMessage(out);
    setSendTime(out.getSendTimeInGMT());
    buildContent(true);
    return out;
}

void ChatMessageWidget::buildFooter()
{
    if (side == 0) {
        stateLabel = new QLabel(frame);
        updateStateIcon();
        footerRow->addWidget(stateLabel);
        footerRow->setSpacing(1);
        footerRow->setContentsMargins(1, 1, 1, 1);
        updateFailureNote();
    } else {
        footerRow->setContentsMargins(4, 0, 4, 0);
    }
    footerRow->addWidget(timeLabel);
    showEditedIcon(message.getUserId(), message.getEdited());
    footerRow->addItem(new QSpacerItem(5, 1, QSizePolicy::Expanding, QSizePolicy::Minimum));
    if (likesCountLabel) {
        likesCountLabel->setText(NumberText::getNumberText(message.getLikes()));
        footerRow->addWidget(likesCountLabel);
        footerRow->addWidget(likeIconLabel);
    }
    frameColumn->addLayout(footerRow);
}

void ChatMessageWidget::finalTouch()
{
    if (hasReply) {
        L_DEBUG(QStringLiteral("ChatMessageWidget::finalTouch() | %1x%2 .. %3x%4")
                    .arg(outline->minimumWidth())
                    .arg(outline->minimumHeight())
                    .arg(outline->maximumWidth())
                    .arg(outline->maximumHeight()));
    }
    frame->setLayout(frameColumn);
    if (!body->isHidden())
        frame->setMinimumWidth(body->width());
    frame->setMaximumWidth(messageMaxWidth);
    frame->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const auto major = message.getMajorType();
    if (!avatarButton && (major == MessageBase::MsgMajorType_SimpleChat ||
                          major == MessageBase::MsgMajorType_GroupChat)) {
        auto* avatarColumn = new QVBoxLayout;
        avatarColumn->setAlignment(Qt::AlignBottom);
        avatarButton = new IconButton(scaleSize(QSize(30, 30)), this);
        avatarButton->setAccessibleName(tr("_SenderPicture"));
        avatarButton->hide();
        avatarColumn->addWidget(avatarButton);
        mainRow->addLayout(avatarColumn);
    }
    mainRow->addWidget(frame);
    if (likeBtn)
        mainRow->addWidget(likeBtn, 0, Qt::AlignBottom);
    mainRow->setAlignment(Qt::AlignVCenter);
    mainRow->addItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));
    setLayout(mainRow);
    adjustSize();
}

void ChatMessageWidget::buildControlMessage()
{
    setLayout(mainRow);
    timeLabel->hide();
    frame->setObjectName(QStringLiteral("ChatMessageWidgetControlMessage"));
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    document->setDefaultTextOption(option);
    document->setTextWidth(-1);
    body->setTextInteractionFlags(Qt::NoTextInteraction);
    setNoticeText(message.getMessageBody());
    mainRow->addItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum));
    mainRow->addWidget(frame, 0, Qt::AlignVCenter);
    mainRow->addItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum));
    frameColumn->addWidget(body);
    frame->setLayout(frameColumn);
}

void ChatMessageWidget::setNoticeText(const QString& text)
{
    body->setHtml(QStringLiteral("<font color=\"white\">") + BubbleText::safeHtml(text) +
                  QStringLiteral("</font>"));
    body->setFixedHeight(QFontMetrics(body->document()->defaultFont()).height() + 6);
    body->setFixedWidth(int(body->document()->idealWidth()) + 6);
}

void ChatMessageWidget::createLikeWidgets()
{
    if (likeBtn)
        return;
    likesCountLabel = new QLabel(frame);
    likesCountLabel->setFont(Fonts::getFont(baseFontSize));
    likesCountLabel->setObjectName(side == 0 ? QStringLiteral("ChatMessageSentTimeByMe")
                                             : QStringLiteral("ChatMessageSentTimeByOthers"));
    likeIconLabel = new QLabel(frame);
    const QSize icon(scaleValue(16), scaleValue(16));
    likeIconLabel->setPixmap(
        side == 0 ? cachedPixmap(QStringLiteral("msgLikeLabelMe"),
                                 QStringLiteral(":/Images/ic_like_chat_white.png"), icon)
                  : cachedPixmap(QStringLiteral("msgLikeLabelOthers"),
                                 QStringLiteral(":/Images/ic_like_chat_gray.png"), icon));
    likeBtn = new DoubleStateButton(this);
    likeBtn->setImages(QStringLiteral("msgLikeButtonChecked"),
                       QStringLiteral(":/Images/ic_message_like_fill.png"),
                       QStringLiteral("msgLikeButtonUnChecked"),
                       QStringLiteral(":/Images/ic_message_like_outline.png"),
                       QSize(scaleValue(25), scaleValue(25)));
    likeBtn->setState(message.getLiked());
    connect(likeBtn, &DoubleStateButton::clicked, this, &ChatMessageWidget::likeButtonClicked);
}

void ChatMessageWidget::updateStateIcon()
{
    static const QStringList keys{
        QString(), QStringLiteral("msgStateNotSentKEY"), QStringLiteral("msgStateSentKEY"),
        QStringLiteral("msgStateDeliveredKEY"), QStringLiteral("msgStateSeenKEY")};
    // Only the user's own bubbles carry a tick.
    if (!stateLabel)
        return;
    const int state = int(message.getState());
    if (notSentFor(message)) {
        QPixmap pixmap;
        if (!QPixmapCache::find(QStringLiteral("msgStateFailedKEY"), &pixmap))
            return;
        stateLabel->setPixmap(pixmap);
        shownTick = QStringLiteral("msgStateFailedKEY");
        return;
    }
    if (state == MessageBase::MsgState_Draft) {
        stateLabel->setText(QStringLiteral("o"));
        shownTick = QStringLiteral("o");
        return;
    }
    if (state < 0 || state >= keys.size())
        return;
    QPixmap pixmap;
    if (!QPixmapCache::find(keys.at(state), &pixmap))
        return;
    stateLabel->setPixmap(pixmap);
    shownTick = keys.at(state);
}

void ChatMessageWidget::setState(MessageBase::MsgState state, MessageBase::SendFailure failure)
{
    message.setState(state);
    message.setSendFailure(failure);
    updateStateIcon();
    updateFailureNote();
}

QString ChatMessageWidget::failureText() const
{
    if (!notSentFor(message))
        return QString();
    return message.getSendFailure() == MessageBase::SendFailure_NoSpace ? tr("_NotSentNoDiskSpace")
                                                                        : tr("_NotSentRefused");
}

void ChatMessageWidget::updateFailureNote()
{
    // Only the user's own bubbles have a footer that says how a message fares.
    if (side != 0 || !stateLabel)
        return;
    const QString text = failureText();
    if (text.isEmpty()) {
        if (failureLabel && !failureLabel->isHidden()) {
            failureLabel->hide();
            relayOut();
        }
        return;
    }
    if (!failureLabel) {
        // Above the footer, as wide as the bubble lets the body be.
        failureLabel = new QLabel(frame);
        failureLabel->setObjectName(QStringLiteral("ChatMessageFailure"));
        failureLabel->setWordWrap(true);
        failureLabel->setTextFormat(Qt::PlainText);
        failureLabel->setFont(Fonts::getFont(baseFontSize));
        failureLabel->setContentsMargins(4, 2, 4, 0);
        frameColumn->insertWidget(frameColumn->indexOf(footerRow), failureLabel);
    }
    failureLabel->setText(text);
    const int wide = failureLabel->fontMetrics().horizontalAdvance(text) + 10;
    failureLabel->setMinimumWidth(qMin(wide, bodyMaxWidth));
    failureLabel->show();
    relayOut();
}

void ChatMessageWidget::relayOut()
{
    // A bubble still being built is laid out once it is whole.
    if (!frame->layout())
        return;
    frame->adjustSize();
    adjustSize();
    updateGeometry();
}

void ChatMessageWidget::setLikes(int count)
{
    message.setLikes(count);
    if (likesCountLabel)
        likesCountLabel->setText(NumberText::getNumberText(count));
}

void ChatMessageWidget::showEditedIcon(const QString& userId, bool edited)
{
    if (!edited) {
        if (editedLabel)
            editedLabel->hide();
        return;
    }
    const QString key = userId == currentUserName ? QStringLiteral("msgEditWhiteIcon")
                                                  : QStringLiteral("msgEditBlackIcon");
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap))
        return;
    if (!editedLabel) {
        // The mark stands right before the time.
        editedLabel = new QLabel(frame);
        footerRow->insertWidget(footerRow->indexOf(timeLabel), editedLabel);
    }
    editedLabel->setPixmap(pixmap);
    editedLabel->show();
}

void ChatMessageWidget::setSenderLabel(const QString& name)
{
    if (!senderLabel)
        return;
    if (side == 0) {
        senderLabel->hide();
        return;
    }
    // Someone whose profile has no nickname (or is not known yet) is named
    // by the user id instead of an empty line.
    senderLabel->setName(PhoneText::nameOr(name, message.getUserId()),
                         userColor(message.getUserId()));
}

void ChatMessageWidget::setReplySenderName(const QString& name)
{
    if (outline)
        outline->setSenderName(name);
}

void ChatMessageWidget::setAvatar(const QPixmap& avatar)
{
    if (!avatarButton)
        return;
    avatarButton->setIconPixmap(avatar);
    avatarButton->show();
}

QString ChatMessageWidget::getRepliedUserId() const
{
    return hasReply ? repliedMessage.getUserId() : QString();
}

QColor ChatMessageWidget::userColor(const QString& userId)
{
    return senderColor(userId);
}

void ChatMessageWidget::highlight()
{
    QPalette p = palette();
    p.setBrush(QPalette::Window, QColor(100, 100, 100, 80));
    setPalette(p);
    setAutoFillBackground(true);
    QTimer::singleShot(500, this, &ChatMessageWidget::updateBgColor);
}

void ChatMessageWidget::updateBgColor()
{
    QColor color = palette().color(QPalette::Window);
    if (color.alpha() > 0) {
        color.setAlpha(qMax(0, color.alpha() - 10));
        QTimer::singleShot(100, this, &ChatMessageWidget::updateBgColor);
    }
    QPalette p = palette();
    p.setBrush(QPalette::Window, color);
    setAutoFillBackground(true);
    setPalette(p);
}

QString ChatMessageWidget::bodyHtml() const
{
    return body->toHtml();
}

QString ChatMessageWidget::bodyPlainText() const
{
    return body->toPlainText();
}

QString ChatMessageWidget::shownText() const
{
    return BubbleText::plainText(*body->document());
}

QString ChatMessageWidget::timeText() const
{
    return timeLabel->text();
}

QString ChatMessageWidget::senderText() const
{
    return !senderLabel || senderLabel->isHidden() ? QString() : senderLabel->text();
}

bool ChatMessageWidget::editedMarkShown() const
{
    return editedLabel && !editedLabel->isHidden();
}

QString ChatMessageWidget::likesText() const
{
    return likesCountLabel ? likesCountLabel->text() : QString();
}

QList<QAction*> ChatMessageWidget::prepareMenu()
{
    createMenu();
    const auto major = message.getMajorType();
    if (major == MessageBase::MsgMajorType_SimpleChat ||
        major == MessageBase::MsgMajorType_GroupChat)
        menu->addAction(replyAction);
    else
        menu->removeAction(replyAction);
    if (message.getUserId() == currentUserName &&
        message.getMinorType() == MessageBase::MsgMinorType_Text)
        menu->addAction(editAction);
    else
        menu->removeAction(editAction);
    const bool selected = body->textCursor().hasSelection();
    menu->removeAction(selected ? copyTextAction : copySelectionAction);
    menu->addAction(selected ? copySelectionAction : copyTextAction);
    return menu->actions();
}

void ChatMessageWidget::contextMenuEvent(QContextMenuEvent* event)
{
    prepareMenu();
    menu->popup(event->globalPos());
}

void ChatMessageWidget::replyMessage()
{
    emit replyMessage(message);
}

void ChatMessageWidget::editMessage()
{
    emit editMessage(message);
}

void ChatMessageWidget::copySelectedText()
{
    body->copySelection();
}

void ChatMessageWidget::copyText()
{
    body->selectAll();
    body->copySelection();
    QTextCursor cursor = body->textCursor();
    cursor.clearSelection();
    body->setTextCursor(cursor);
}

void ChatMessageWidget::linkActivated(const QUrl& url)
{
    L_DEBUG(QStringLiteral("ChatMessageWidget::linkActivated | ") + url.toString());
    const QString text = url.toString();
    const QString host = LinkGenerator::getPublicLinkHost();
    const bool serviceLink = text.contains(QStringLiteral("http://") + host) ||
                             text.contains(QStringLiteral("https://") + host) ||
                             text.startsWith(QLatin1Char('@'));
    if (serviceLink) {
        emit command(CMD_Lookup, QVariant(text));
        return;
    }
    // Any other web link opens in the desktop's browser; the bubble draws no
    // link of another scheme (see BubbleText), so none is left doing nothing.
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        DesktopOpener::openUrl(url);
}

void ChatMessageWidget::getMessageDetails()
{
    L_DEBUG(QString::fromUtf8(QJsonDocument(message.toJson()).toJson(QJsonDocument::Compact)));
}

void ChatMessageWidget::likeButtonClicked(bool checked)
{
    if (message.getLiked() == checked)
        return;
    message.setLikes(qMax(0, message.getLikes() + (checked ? 1 : -1)));
    message.setLiked(checked);
    if (likesCountLabel)
        likesCountLabel->setText(NumberText::getNumberText(message.getLikes()));
    emit likeStatusChange(message.getMessageId(), checked);
}

void ChatMessageWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::XButton2) {
        L_DEBUG(
            QStringLiteral("ChatMessageWidget::mouseReleaseEvent | message: ") +
            QString::fromUtf8(QJsonDocument(message.toDBJson()).toJson(QJsonDocument::Compact)));
    }
    event->accept();
}

void ChatMessageWidget::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
