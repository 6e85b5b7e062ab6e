#include "chat/chatinputbar.h"

#include "chat/customtextedit.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
QPixmap buttonImage(const QString& path)
{
    const int side = scaleValue(30);
    return QPixmap(path).scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
} // namespace

ChatInputBar::ChatInputBar(QWidget* parent)
    : QWidget(parent), messageInput(new CustomTextEdit(this)), attachBtn(new FlatButton(this)),
      pollBtn(new FlatButton(this)), emojiBtn(new FlatButton(this)), sendBtn(new FlatButton(this))
{
    setObjectName(QStringLiteral("ChatWindowEditingWidget"));
    messageInput->setObjectName(QStringLiteral("ChatWindowMessageInput"));
    messageInput->setAccessibleName(tr("_MessageField"));
    const QFont font = Fonts::getFont(baseFontSize);
    messageInput->setFont(font);
    messageInput->setFixedHeight(QFontMetrics(font).height() + 10);
    messageInput->setPlaceholderText(tr("compose message..."));
    messageInput->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    messageInput->adjustSize();
    messageInput->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageInput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageInput->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    const QSize buttonSize = scaleSize(QSize(36, 36));
    const struct
    {
        FlatButton* button;
        const char* name;
        const char* image;
        QString description;
    } buttons[] = {
        {attachBtn, "ChatWindowAttachBtn", ":/Images/ic_attach.png", tr("_AttachFile")},
        {emojiBtn, "ChatWindowEmojiBtn", ":/Images/ic_emoji.png", tr("_ChooseEmoji")},
        {sendBtn, "ChatWindowSendRecodeBtn", ":/Images/ic_send_colored.png", tr("_SendMessage")}};
    for (const auto& b : buttons) {
        b.button->setObjectName(QLatin1String(b.name));
        b.button->setAccessibleName(b.description);
        b.button->setPixmap(buttonImage(QLatin1String(b.image)));
        b.button->setFixedSize(buttonSize);
        b.button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    pollBtn->setObjectName(QStringLiteral("ChatWindowPollBtn"));
    pollBtn->setAccessibleName(tr("_MakePoll"));
    pollBtn->setPixmap(QPixmap(QStringLiteral(":/Images/poll.png")));
    connect(attachBtn, &FlatButton::onClick, this, &ChatInputBar::attachClicked);
    connect(emojiBtn, &FlatButton::onClick, this, &ChatInputBar::emojiClicked);
    connect(pollBtn, &FlatButton::onClick, this, &ChatInputBar::pollClicked);
    connect(sendBtn, &FlatButton::onClick, this, &ChatInputBar::sendWanted);
    connect(messageInput, &QTextEdit::textChanged, this, &ChatInputBar::textChanged);
    connect(messageInput, &CustomTextEdit::sendMessage, this, &ChatInputBar::sendWanted);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(0);
    row->setAlignment(Qt::AlignBottom);
    const auto column = [row](QWidget* button) {
        auto* c = new QVBoxLayout;
        c->addItem(new QSpacerItem(1, 1, QSizePolicy::Fixed, QSizePolicy::Expanding));
        c->addWidget(button);
        button->raise();
        row->addLayout(c);
    };
    column(attachBtn);
    row->addWidget(messageInput);
    column(pollBtn);
    column(emojiBtn);
    column(sendBtn);
}

void ChatInputBar::textChanged()
{
    if (messageInput->toPlainText().isEmpty()) {
        empty = true;
        return;
    }
    sendBtn->setPixmap(buttonImage(QStringLiteral(":/Images/ic_send_colored.png")));
    empty = false;
}

QString ChatInputBar::typedText() const
{
    // The placeholder is only painted over an empty input, never part of its
    // text: whatever the text says, the user typed it.
    return messageInput->getMessageText().trimmed();
}

void ChatInputBar::clearInput()
{
    messageInput->clear();
    // Clearing drops the block's alignment, and the placeholder follows it.
    messageInput->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    messageInput->adjustHeight();
}

void ChatInputBar::addTag(const QString& tag)
{
    messageInput->insertHtml(tag);
    messageInput->adjustHeight();
    messageInput->setFocus(Qt::OtherFocusReason);
}
