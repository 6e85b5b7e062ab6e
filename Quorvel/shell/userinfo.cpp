#include "shell/userinfo.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace {

QLabel* textLine(const QString& objectName, const QString& text, QWidget* parent,
                 QVBoxLayout* column)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFont(Fonts::getFont(baseFontSize));
    // Names and ids come from the service: shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label);
    row->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));
    column->addLayout(row);
    return label;
}

QPixmap avatarPixmap(const QPixmap& picture)
{
    const int side = scaleValue(64);
    return picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

UserInfo::UserInfo(const QString& imagePath, const QString& secondLineText, const QString& nameText,
                   QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    avatar = new QLabel(this);
    avatar->setObjectName(QStringLiteral("SlidingMenuUserInfo"));
    avatar->setPixmap(avatarPixmap(QPixmap(imagePath)));
    auto* avatarRow = new QHBoxLayout;
    avatarRow->addWidget(avatar, 0, Qt::AlignCenter);
    column->addLayout(avatarRow);
    name = textLine(QStringLiteral("SlidingMenuUserName"), nameText, this, column);
    secondLine =
        textLine(QStringLiteral("SlidingMenuUserMobileNumber"), secondLineText, this, column);
    connect(&avatarFile, &StaticFile::imageReady, this, &UserInfo::imageReady);
}

void UserInfo::setUserData(const Contact& c)
{
    name->setText(c.getNickName());
    name->adjustSize();
    secondLine->setText(PhoneText::number(c.getMemberID()));
    secondLine->adjustSize();
    L_DEBUG(QStringLiteral("UserInfo::setUserData | ") +
            QString::fromUtf8(QJsonDocument(c.toJsonObject()).toJson(QJsonDocument::Compact)));
    if (!c.getAvatarThumbnailUrl().isEmpty())
        avatarFile.setUrl(c.getAvatarThumbnailUrl(), StaticFile::LocalFirst,
                          StaticFile::AvatarThumbnails, false);
}

void UserInfo::imageReady(const QImage& image)
{
    if (image.isNull())
        return;
    QPixmap round(image.size());
    round.fill(Qt::transparent);
    QPainter painter(&round);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.setClipPath(circle);
    painter.drawImage(0, 0, image);
    painter.end();
    avatar->setPixmap(avatarPixmap(round));
}

void UserInfo::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
