#ifndef CHANNELMEMBERROW_H
#define CHANNELMEMBERROW_H

#include "model/channelmemberprofile.h"

#include <QWidget>

class QLabel;
class StaticFile;

// What the channel owner's row and an administrator's row share: the
// member, the avatar fetched through its own download, the name and a
// second line right-aligned against the avatar, and a button on the left.
class ChannelMemberRow : public QWidget
{
    Q_OBJECT
public:
    explicit ChannelMemberRow(QWidget* parent = nullptr);
    ~ChannelMemberRow() override;

    ChannelMemberProfile getProfile() const { return member; }
    QLabel* avatarLabel() const { return avatar; }
    QLabel* nameLabel() const { return name; }
    QLabel* secondLine() const { return second; }

public slots:
    void imageReady(const QImage& image);

protected:
    // Stores the member, shows its name and starts the avatar download.
    void showMember(const ChannelMemberProfile& profile);
    void setSideButton(QWidget* button) { side = button; }
    void placeChildren();
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ChannelMemberProfile member;
    StaticFile* file;
    QLabel* avatar;
    QLabel* name;
    QLabel* second;
    QWidget* side = nullptr;
};

#endif // CHANNELMEMBERROW_H
