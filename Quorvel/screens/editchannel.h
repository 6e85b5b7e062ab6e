#ifndef EDITCHANNEL_H
#define EDITCHANNEL_H

#include "Managers/command.h"
#include "model/channelinfo.h"
#include "widgets/popupwindow.h"

#include <QVariant>

class CheckBox;
class CustomLineEdit;
class FlatButton;
class IconButton;
class QLabel;
class UploadFile;
class WaitingSpinnerWidget;

// The popup in which a channel's owner or administrator changes its name,
// description, picture and whether followers may reply.
class EditChannel : public PopupWindow
{
    Q_OBJECT
public:
    explicit EditChannel(QWidget* parent = nullptr);
    ~EditChannel() override;

    void setChannelInfo(ChannelInfo info);
    // Takes a picture as the channel's new one; the dialog's answer in the
    // program, a test's file in tests.
    void choosePicture(const QString& path);

    ChannelInfo getChannelInfo() const { return channel; }
    QString chosenPicture() const { return imagePath; }
    CustomLineEdit* nameField() const { return name; }
    CustomLineEdit* descriptionField() const { return description; }
    CheckBox* replySwitch() const { return reply; }
    FlatButton* submitButton() const { return submit; }
    FlatButton* ignoreButton() const { return ignore; }
    QLabel* errorLine() const { return error; }
    WaitingSpinnerWidget* spinner() const { return busy; }

signals:
    void command(Command cm, QVariant var);

public slots:
    void selectImage();
    void submitPressed();
    void CancelClicked();
    void DataEdited(QString change);
    void UploadImageFinish(QString filePath, QString id, QString fileUrl, QString thumbnailUrl);
    void UploadError(QString filePath, int error, QString message);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void sendEdit();
    void showError(const QString& text);

    ChannelInfo channel;
    QString imagePath;
    QString thumbnailPath;
    UploadFile* uploader;
    WaitingSpinnerWidget* busy;
    QLabel* nameHead;
    CustomLineEdit* name;
    QLabel* descriptionHead;
    CustomLineEdit* description;
    QLabel* imageHead;
    IconButton* image;
    CheckBox* reply;
    FlatButton* submit;
    FlatButton* ignore;
    QLabel* error;
};

#endif // EDITCHANNEL_H
