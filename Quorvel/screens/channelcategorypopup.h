#ifndef CHANNELCATEGORYPOPUP_H
#define CHANNELCATEGORYPOPUP_H

#include "Managers/command.h"
#include "model/browsecategoryresult.h"
#include "model/channelcategory.h"
#include "model/channelinfo.h"
#include "widgets/popupwindow.h"

#include <QHash>
#include <QMap>
#include <QVariant>

class ChannelAbstractPopUP;
class ChannelCategoryWidget;
class QVBoxLayout;

// The categories of the channel directory as tiles. In browse mode a tile
// opens the category's channels; in select mode it reports the category, or
// when the category has sub-categories, opens them to choose from, the
// category itself among them.
class ChannelCategoryPopUp : public PopupWindow
{
    Q_OBJECT
public:
    ChannelCategoryPopUp(int mode, QWidget* parent = nullptr);

    void requestCategories();
    void setCategories(QHash<QString, ChannelCategory> categories);
    void setBrowseCategoryResult(BrowseCategoryResult result);
    // The user followed or left a channel: a row showing it says so.
    void setFollowed(const QString& channelId, bool followed);

    int tileCount() const;
    QList<ChannelCategoryWidget*> tiles() const;
    ChannelAbstractPopUP* channelList() const { return list; }

signals:
    void command(Command command, QVariant request = QVariant());
    void channelCatSelected(ChannelCategory channelCat);

public slots:
    void channelCatWidgetClicked(ChannelCategory category);
    void CancelClicked();
    void followChannel(ChannelInfo channelInfo);
    void visitChannel(ChannelInfo channelInfo);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fitBoard();
    void showList(const ChannelCategory& category);
    void openToChoose(const ChannelCategory& category);
    void choose(const ChannelCategory& category);

    int mode;
    // Select mode: the category last clicked, whose level the list shows.
    ChannelCategory clicked;
    QVBoxLayout* board;
    QMap<QString, ChannelCategoryWidget*> byId;
    ChannelAbstractPopUP* list;
};

#endif // CHANNELCATEGORYPOPUP_H
