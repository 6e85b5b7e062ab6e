#ifndef CHANNELABSTRACTPOPUP_H
#define CHANNELABSTRACTPOPUP_H

#include "model/channelcategory.h"
#include "model/channelinfo.h"
#include "widgets/popupwindow.h"

#include <QMap>
#include <QQueue>

class FlatButton;
class QVBoxLayout;
class WaitingSpinnerWidget;

// What one category of the channel directory holds: its sub-categories as
// tiles, then its channels as rows with a follow button.
class ChannelAbstractPopUP : public PopupWindow
{
    Q_OBJECT
public:
    explicit ChannelAbstractPopUP(QWidget* parent = nullptr);

    // True when the category must be asked for: the rows are cleared and
    // the spinner turns until its answer arrives.
    bool openCategory(const QString& categoryId);
    // Called for each browse answer, in the order the questions went out:
    // true when it answers the category now chosen, false for an answer to
    // a category the user has since left (its rows are not shown).
    bool takeAnswer();
    // The rows shown are kept while the directory stays open; once it opens
    // again, a category is asked for afresh (channels come, followers change).
    void askAgain() { categoryId.clear(); }
    // For choosing a category: a first row that takes the category shown
    // itself (choiceClicked), above its sub-categories.
    void addChoice(const QString& text);
    void setSubCategories(QList<ChannelCategory> categories);
    void setChannels(QList<ChannelInfo> infos);
    // The user followed or left the channel: its row, if shown, says so.
    void setFollowed(const QString& channelId, bool followed);

    QString shownCategory() const { return categoryId; }
    int rowCount() const;
    int subCategoryCount() const { return subCategories.size(); }
    // The choice row while one is shown, else null.
    FlatButton* choiceButton() const { return choice; }
    QList<QWidget*> rows() const;
    WaitingSpinnerWidget* spinner() const { return busy; }

signals:
    void followChannel(ChannelInfo channelInfo);
    void visitChannel(ChannelInfo channelInfo);
    void channelCategoryClicked(ChannelCategory cat);
    void choiceClicked();

public slots:
    void BackClicked();
    void channelWidgetClicked(ChannelInfo) {}
    void followClicked(ChannelInfo channelInfo);
    void visitClicked(ChannelInfo channelInfo);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitBoard();

    QString categoryId;
    QQueue<QString> asked;
    QVBoxLayout* list;
    QMap<QString, QWidget*> channels;
    QMap<QString, QWidget*> subCategories;
    FlatButton* choice = nullptr;
    WaitingSpinnerWidget* busy;
};

#endif // CHANNELABSTRACTPOPUP_H
