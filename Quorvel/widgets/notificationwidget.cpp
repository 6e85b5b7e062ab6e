#include "widgets/notificationwidget.h"

#include "widgets/avatarviewer.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

NotificationWidget::NotificationWidget(QWidget* parent)
    : QWidget(parent), picture(new AvatarViewer(this)), title(new QLabel(this)),
      text(new QLabel(this))
{
    setObjectName(QStringLiteral("NotificationWidget"));
    for (QLabel* label : {title, text}) {
        label->setTextFormat(Qt::PlainText);
        label->setFont(Fonts::getFont(baseFontSize));
    }
    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(text);
    auto* row = new QHBoxLayout(this);
    row->addWidget(picture);
    row->addLayout(texts, 1);
}

void NotificationWidget::setContent(const QString& heading, const QString& line,
                                    const QString& avatarUrl, const QString& avatarId,
                                    int avatarKind)
{
    title->setText(heading);
    text->setText(line);
    picture->setAvatarSize(QSize(listAvatarSize, listAvatarSize));
    picture->setFixedSize(listAvatarSize, listAvatarSize);
    picture->setAvatarType(avatarKind);
    picture->setAvatarId(avatarId);
    if (!avatarUrl.isEmpty())
        picture->downloadAvatar(avatarUrl);
}

void NotificationWidget::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
