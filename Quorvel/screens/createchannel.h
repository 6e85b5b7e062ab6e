#ifndef CREATECHANNEL_H
#define CREATECHANNEL_H

#include "Managers/command.h"
#include "model/channelcategory.h"
#include "model/channelidavailability.h"
#include "model/channelinfo.h"

#include <QHash>
#include <QVariant>
#include <QWidget>

class ChannelCategoryPopUp;
class CheckBox;
class CustomLineEdit;
class FlatButton;
class IconButton;
class QLabel;
class QTimer;
class UploadFile;
class WaitingSpinnerWidget;

// The popup form that creates a channel: description, name, public id, an
// optional picture (uploaded first) and whether followers may reply. The id
// is checked with the service before the channel is created.
class CreateChannel : public QWidget
{
    Q_OBJECT
public:
    explicit CreateChannel(QWidget* parent = nullptr);
    ~CreateChannel() override;

    void setCategories(QHash<QString, ChannelCategory> categories);
    void channelIdAvailability(ChannelIdAvailability availability);
    // Takes a picture for the channel; the dialog's answer in the program,
    // a test's file in tests.
    void choosePicture(const QString& path);
    // How long the form waits for the id check before it gives up.
    void setCheckTimeout(int milliseconds);

    CustomLineEdit* descriptionField() const { return description; }
    CustomLineEdit* nameField() const { return name; }
    CustomLineEdit* idField() const { return id; }
    CheckBox* replySwitch() const { return reply; }
    FlatButton* submitButton() const { return submit; }
    FlatButton* ignoreButton() const { return ignore; }
    QLabel* errorLabel() const { return error; }
    WaitingSpinnerWidget* spinner() const { return busy; }
    ChannelCategoryPopUp* categoryPopup() const { return categories; }
    FlatButton* categoryChooser() const { return categoryButton; }
    QLabel* categoryText() const { return categoryLabel; }
    QString chosenPicture() const { return picturePath; }

signals:
    void command(Command command, QVariant request = QVariant());

public slots:
    void submitPressed();
    void CancelClicked();
    void selectImage();
    void selectCategory();
    void SelectedCategory(ChannelCategory chanCat);
    void DataEdited(QString change);
    void UploadImageFinish(QString filePath, QString id, QString fileUrl, QString thumbnailUrl);
    void UploadError(QString filePath, int error, QString message);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fillChannel();
    void checkId();
    void fail(const QString& text);
    void resetForm();

    ChannelInfo channel;
    QString picturePath;
    QString thumbnailPath;
    UploadFile* uploader;
    ChannelCategoryPopUp* categories;
    WaitingSpinnerWidget* busy;
    QTimer* checkTimer;
    CustomLineEdit* description;
    CustomLineEdit* name;
    CustomLineEdit* id;
    IconButton* picture;
    CheckBox* reply;
    FlatButton* submit;
    FlatButton* ignore;
    QLabel* categoryLabel;
    FlatButton* categoryButton;
    QLabel* error;
};

#endif // CREATECHANNEL_H
