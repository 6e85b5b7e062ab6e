#include "screens/channelabstractpopup.h"

#include "screens/busyspinner.h"
#include "screens/channelabstractwidget.h"
#include "screens/channelcategorywidget.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/waitingspinnerwidget.h"

#include <QBoxLayout>
#include <QLabel>

ChannelAbstractPopUP::ChannelAbstractPopUP(QWidget* parent)
    : PopupWindow(parent), list(new QVBoxLayout(getBoard())), busy(BusySpinner::make(getBoard()))
{
    // Back points the way the interface reads from.
    setBackButtonIcon(layoutDirection() == Qt::RightToLeft
                          ? QStringLiteral(":/Images/arrow_right_white.png")
                          : QStringLiteral(":/Images/arrow_left_white.png"));
    getWindow()->setMaximumWidth(400);
    // Category names are the service's: kept clear of the back arrow on the left.
    getTitle()->setAlignment(Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute);
    list->setSpacing(0);
    list->setMargin(0);
    list->setContentsMargins(0, 0, 0, 0);
    connect(this, &PopupWindow::windowIconClicked, this, &ChannelAbstractPopUP::BackClicked);
}

bool ChannelAbstractPopUP::openCategory(const QString& id)
{
    if (id == categoryId)
        return false;
    categoryId = id;
    asked.enqueue(id);
    busy->start();
    channels.clear();
    subCategories.clear();
    choice = nullptr;
    while (QLayoutItem* item = list->takeAt(0)) {
        // The row may be the tile whose click brought us here: it goes once
        // its own handler has returned.
        if (QWidget* row = item->widget()) {
            row->hide();
            row->deleteLater();
        }
        delete item;
    }
    return true;
}

bool ChannelAbstractPopUP::takeAnswer()
{
    if (asked.isEmpty())
        return false;
    const QString answered = asked.dequeue();
    return answered == categoryId && !asked.contains(categoryId);
}

void ChannelAbstractPopUP::addChoice(const QString& text)
{
    choice = new FlatButton(text, this);
    choice->setObjectName(QStringLiteral("AddNewContactButton"));
    choice->setFont(Fonts::getFont(baseFontSize));
    choice->setAlignment(Qt::AlignCenter);
    choice->setCursor(Qt::PointingHandCursor);
    choice->setFixedHeight(channelRowHeight);
    list->addWidget(choice);
    choice->show();
    connect(choice, &FlatButton::onClick, this, &ChannelAbstractPopUP::choiceClicked);
    fitBoard();
}

void ChannelAbstractPopUP::setSubCategories(QList<ChannelCategory> categories)
{
    for (const ChannelCategory& category : categories) {
        auto* tile = new ChannelCategoryWidget(this);
        tile->resize(width(), channelRowHeight);
        tile->setFixedHeight(channelRowHeight);
        tile->setCategory(category);
        list->addWidget(tile);
        tile->show();
        subCategories.insert(category.getCategoryID(), tile);
        connect(tile, &ChannelCategoryWidget::channelCategoryClicked, this,
                &ChannelAbstractPopUP::channelCategoryClicked);
    }
    fitBoard();
}

void ChannelAbstractPopUP::setChannels(QList<ChannelInfo> infos)
{
    busy->stop();
    for (const ChannelInfo& info : infos) {
        auto* row = new ChannelAbstractWidget(this);
        row->resize(width(), channelRowHeight);
        row->setFixedHeight(channelRowHeight);
        row->setChannelInfo(info);
        connect(row, &ChannelAbstractWidget::followClicked, this,
                &ChannelAbstractPopUP::followClicked);
        connect(row, &ChannelAbstractWidget::visitClicked, this,
                &ChannelAbstractPopUP::visitClicked);
        list->addWidget(row);
        row->show();
        channels.insert(info.getId(), row);
    }
    fitBoard();
}

void ChannelAbstractPopUP::setFollowed(const QString& channelId, bool followed)
{
    if (auto* row = qobject_cast<ChannelAbstractWidget*>(channels.value(channelId)))
        row->setFollowed(followed);
}

int ChannelAbstractPopUP::rowCount() const
{
    return list->count();
}

QList<QWidget*> ChannelAbstractPopUP::rows() const
{
    QList<QWidget*> all;
    for (int i = 0; i < list->count(); ++i)
        all << list->itemAt(i)->widget();
    return all;
}

void ChannelAbstractPopUP::followClicked(ChannelInfo channelInfo)
{
    busy->stop();
    hide();
    emit followChannel(channelInfo);
}

void ChannelAbstractPopUP::visitClicked(ChannelInfo channelInfo)
{
    busy->stop();
    hide();
    emit visitChannel(channelInfo);
}

void ChannelAbstractPopUP::BackClicked()
{
    busy->stop();
    hide();
}

void ChannelAbstractPopUP::fitBoard()
{
    // As tall as the holder lets it be; fitToParent keeps it inside.
    getWindow()->resize(400, 100000);
    fitToParent();
    getBoard()->resize(getBoard()->width(), list->count() * channelRowHeight);
}

void ChannelAbstractPopUP::resizeEvent(QResizeEvent* event)
{
    PopupWindow::resizeEvent(event);
    fitBoard();
}
