#ifndef USERPROFILE_H
#define USERPROFILE_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"

#include <QImage>
#include <QVariant>
#include <QWidget>

class IconButton;
class QLineEdit;
class StaticFile;
class UploadFile;
class WaitingSpinnerWidget;

// The page on which the user sets the name, motto and picture others see.
class UserProfile : public QWidget
{
    Q_OBJECT
public:
    explicit UserProfile(QWidget* parent = nullptr);

    void setProfileData(const Contact& contact);
    void setQuorvelId(const QString& id);
    // Takes a picture file as the dialog would; false (with a toast) when
    // the file is no readable image.
    bool choosePicture(const QString& path);

    QLineEdit* nameField() const { return name; }
    QLineEdit* mottoField() const { return motto; }
    QLineEdit* idField() const { return id; }
    Contact getProfile() const { return profile; }
    UploadFile* getUploader() const { return uploader; }

signals:
    void command(Command command, QVariant request = QVariant());

public slots:
    void selectImage();
    void submitPressed();
    void CancelClicked();
    void imageReady(QImage image);
    void UploadImageFinish(QString filePath, QString id, QString fileUrl, QString thumbnailUrl);
    void UploadError(QString filePath, int error, QString message);
    void DataEdited(QString change);

private:
    void showRoundAvatar(const QImage& image);
    void finishSubmit();

    Contact profile;
    QString imagePath;
    QString thumbnailPath;
    QString userId;
    StaticFile* avatarFile;
    UploadFile* uploader;
    WaitingSpinnerWidget* spinner;
    IconButton* picture;
    QLineEdit* name;
    QLineEdit* motto;
    QLineEdit* id;
};

#endif // USERPROFILE_H
