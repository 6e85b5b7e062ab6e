#include "screens/channelcategorypopup.h"

#include "foundation/simpleqtlogger.h"
#include "model/messagerequest.h"
#include "screens/channelabstractpopup.h"
#include "screens/channelcategorywidget.h"
#include "widgets/interfacescale.h"
#include "widgets/waitingspinnerwidget.h"

#include <QBoxLayout>
#include <QLabel>
#include <QShowEvent>

#include <algorithm>

ChannelCategoryPopUp::ChannelCategoryPopUp(int mode, QWidget* parent)
    : PopupWindow(parent), mode(mode), board(new QVBoxLayout(getBoard())),
      list(new ChannelAbstractPopUP(this))
{
    setTitle(tr("_BrowseChannel"));
    setBackButtonIcon(QStringLiteral(":/Images/close_white.png"));
    getWindow()->setMaximumWidth(400);
    // Category names are the service's: kept clear of the back arrow on the left.
    getTitle()->setAlignment(Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute);
    board->setSpacing(0);
    board->setMargin(0);
    board->setContentsMargins(0, 0, 0, 0);
    list->hide();
    connect(list, &ChannelAbstractPopUP::followChannel, this, &ChannelCategoryPopUp::followChannel);
    connect(list, &ChannelAbstractPopUP::visitChannel, this, &ChannelCategoryPopUp::visitChannel);
    connect(list, &ChannelAbstractPopUP::channelCategoryClicked, this,
            &ChannelCategoryPopUp::channelCatWidgetClicked);
    connect(list, &ChannelAbstractPopUP::choiceClicked, this, [this] { choose(clicked); });
    connect(this, &PopupWindow::windowIconClicked, this, &ChannelCategoryPopUp::CancelClicked);
}

int ChannelCategoryPopUp::tileCount() const
{
    return board->count();
}

QList<ChannelCategoryWidget*> ChannelCategoryPopUp::tiles() const
{
    QList<ChannelCategoryWidget*> all;
    for (int i = 0; i < board->count(); ++i)
        all << qobject_cast<ChannelCategoryWidget*>(board->itemAt(i)->widget());
    return all;
}

void ChannelCategoryPopUp::requestCategories()
{
    if (board->count() == 0)
        emit command(CMD_ChannelCategories);
}

void ChannelCategoryPopUp::setCategories(QHash<QString, ChannelCategory> categories)
{
    if (board->count() > 0)
        return;
    // The top level only, sub-categories opening under their parent, in the
    // order of their ids whatever order the hash holds them in.
    QList<ChannelCategory> top;
    for (const ChannelCategory& category : qAsConst(categories)) {
        const QString parent = category.getParentCategoryID();
        if (parent.isEmpty() || parent == QLatin1String("0"))
            top << category;
    }
    std::sort(top.begin(), top.end(), [](const ChannelCategory& a, const ChannelCategory& b) {
        const qlonglong left = a.getCategoryID().toLongLong();
        const qlonglong right = b.getCategoryID().toLongLong();
        return left != right ? left < right : a.getCategoryID() < b.getCategoryID();
    });
    for (const ChannelCategory& category : qAsConst(top)) {
        auto* tile = new ChannelCategoryWidget(this);
        tile->resize(width(), channelRowHeight);
        tile->setFixedHeight(channelRowHeight);
        tile->setCategory(category);
        board->addWidget(tile);
        tile->show();
        byId.insert(category.getCategoryID(), tile);
        connect(tile, &ChannelCategoryWidget::channelCategoryClicked, this,
                &ChannelCategoryPopUp::channelCatWidgetClicked);
    }
    fitBoard();
}

void ChannelCategoryPopUp::channelCatWidgetClicked(ChannelCategory category)
{
    if (mode == 1) {
        openToChoose(category);
        return;
    }
    if (list->openCategory(category.getCategoryID()))
        emit command(CMD_BrowseChannelCategory, QVariant(category.getCategoryID()));
    showList(category);
}

void ChannelCategoryPopUp::showList(const ChannelCategory& category)
{
    list->resize(size());
    list->setTitle(category.getCategoryName());
    list->raise();
    list->show();
}

void ChannelCategoryPopUp::openToChoose(const ChannelCategory& category)
{
    // What a category holds is asked the first time it is clicked; one
    // without sub-categories is chosen as soon as that is known.
    clicked = category;
    if (list->openCategory(category.getCategoryID())) {
        emit command(CMD_BrowseChannelCategory, QVariant(category.getCategoryID()));
        showList(category);
    } else if (list->subCategoryCount() == 0 && !list->spinner()->isSpinning()) {
        choose(category);
    } else {
        showList(category);
    }
}

void ChannelCategoryPopUp::choose(const ChannelCategory& category)
{
    list->hide();
    hide();
    emit channelCatSelected(category);
}

void ChannelCategoryPopUp::showEvent(QShowEvent* event)
{
    PopupWindow::showEvent(event);
    if (!event->spontaneous()) {
        // Its holder (the new channel form) may have changed its size since.
        fitBoard();
        list->askAgain();
    }
}

void ChannelCategoryPopUp::setBrowseCategoryResult(BrowseCategoryResult result)
{
    if (!list->takeAnswer())
        return;
    if (mode == 0) {
        list->setSubCategories(result.getCategories());
        list->setChannels(result.getInfos());
        return;
    }
    // Choosing: the channels are not what is chosen, the category is. A
    // failed question comes back empty, and the clicked one is taken then.
    if (result.getCategories().isEmpty()) {
        list->setChannels({});
        if (list->isVisible())
            choose(clicked);
        return;
    }
    list->addChoice(tr("_ChooseCategory").arg(clicked.getCategoryName()));
    list->setSubCategories(result.getCategories());
    list->setChannels({});
}

void ChannelCategoryPopUp::setFollowed(const QString& channelId, bool followed)
{
    list->setFollowed(channelId, followed);
}

void ChannelCategoryPopUp::CancelClicked()
{
    hide();
}

void ChannelCategoryPopUp::followChannel(ChannelInfo channelInfo)
{
    L_DEBUG(QStringLiteral("ChannelCategoryPopUp::followChannel | ") + channelInfo.getId());
    emit command(CMD_ChannelJoin, QVariant(channelInfo.getId()));
    hide();
}

void ChannelCategoryPopUp::visitChannel(ChannelInfo channelInfo)
{
    emit command(CMD_ChannelData, QVariant(channelInfo.getId()));
    qRegisterMetaType<MessageRequest>("MessageRequest");
    MessageRequest request;
    request.setChatId(channelInfo.getId());
    request.setChatType(MessageBase::MsgMajorType_ChannelChat);
    request.setMessageId(QString());
    request.setNumber(20);
    emit command(CMD_GetChannelMessages, QVariant::fromValue(request));
    hide();
}

void ChannelCategoryPopUp::fitBoard()
{
    // As tall as the holder lets it be; fitToParent keeps it inside.
    getWindow()->resize(400, 100000);
    fitToParent();
    getBoard()->resize(getBoard()->width(), board->count() * channelRowHeight);
}

void ChannelCategoryPopUp::resizeEvent(QResizeEvent* event)
{
    PopupWindow::resizeEvent(event);
    fitBoard();
    if (!list->isHidden())
        list->resize(size());
}
