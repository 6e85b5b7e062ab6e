#ifndef CHANNELCATEGORYWIDGET_H
#define CHANNELCATEGORYWIDGET_H

#include "model/channelcategory.h"

#include <QWidget>

class QLabel;
class StaticFile;

// The tile of one category of the channel directory: its banner as a round
// avatar and its name.
class ChannelCategoryWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ChannelCategoryWidget(QWidget* parent = nullptr);
    ~ChannelCategoryWidget() override;

    void setCategory(ChannelCategory category);
    ChannelCategory getCategory() const { return category; }
    QLabel* nameLabel() const { return name; }
    QLabel* avatarLabel() const { return avatar; }
    // A picture as the directory's round 50 x 50 avatar.
    static QPixmap roundAvatar(const QImage& image);

signals:
    void channelCategoryClicked(ChannelCategory chinfo);

public slots:
    void imageReady(const QImage& image);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent*) override {}

private:
    void placeChildren();

    ChannelCategory category;
    QLabel* name;
    QLabel* avatar;
    StaticFile* file;
};

#endif // CHANNELCATEGORYWIDGET_H
