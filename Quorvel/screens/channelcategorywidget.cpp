#include "screens/channelcategorywidget.h"

#include "webapi/FileApi/staticfile.h"
#include "widgets/fonts.h"
#include "widgets/roundpixmap.h"
#include "widgets/stylesheetpaint.h"

#include <QLabel>
#include <QMouseEvent>

ChannelCategoryWidget::ChannelCategoryWidget(QWidget* parent)
    : QWidget(parent), name(new QLabel(this)), avatar(new QLabel(this)), file(new StaticFile())
{
    name->setFont(Fonts::getInstance()->regular);
    name->setTextFormat(Qt::PlainText);
    avatar->setObjectName(QStringLiteral("AvatarChannelWidget"));
    avatar->setMaximumSize(50, 50);
    avatar->resize(50, 50);
    connect(file, &StaticFile::imageReady, this, &ChannelCategoryWidget::imageReady);
}

ChannelCategoryWidget::~ChannelCategoryWidget()
{
    delete file;
}

void ChannelCategoryWidget::setCategory(ChannelCategory value)
{
    category = value;
    name->setText(value.getCategoryName());
    if (!value.getBannerUrl().isEmpty())
        file->setUrl(value.getBannerUrl(), StaticFile::LocalFirst, StaticFile::AvatarThumbnails,
                     false);
    placeChildren();
}

QPixmap ChannelCategoryWidget::roundAvatar(const QImage& image)
{
    return roundPixmap(QPixmap::fromImage(image), QSize(50, 50));
}

void ChannelCategoryWidget::imageReady(const QImage& image)
{
    if (!image.isNull())
        avatar->setPixmap(roundAvatar(image));
}

void ChannelCategoryWidget::placeChildren()
{
    avatar->move(width() - 10 - avatar->width(), height() / 2 - avatar->height() / 2);
    name->adjustSize();
    name->move(avatar->x() - 10 - name->width(), 10);
}

void ChannelCategoryWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit channelCategoryClicked(category);
}

void ChannelCategoryWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeChildren();
}

void ChannelCategoryWidget::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
