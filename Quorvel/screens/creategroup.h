#ifndef CREATEGROUP_H
#define CREATEGROUP_H

#include "model/groupinfomembers.h"

#include <QWidget>

class AvatarViewer;
class CustomLineEdit;
class FlatButton;

// The two-step form that creates a private group: a name and an optional
// picture (uploaded at once), then the confirmation.
class CreateGroup : public QWidget
{
    Q_OBJECT
public:
    explicit CreateGroup(QWidget* parent = nullptr);

    void resetForm();
    // Starts the upload of a picture as the group's; the dialog's answer in
    // the program, a test's file in tests.
    void choosePicture(const QString& path);

    CustomLineEdit* nameField() const { return name; }
    AvatarViewer* pictureView() const { return picture; }
    QWidget* stepOne() const { return first; }
    QWidget* stepTwo() const { return second; }
    FlatButton* nextButton() const { return next; }
    FlatButton* cancelButton() const { return cancel; }
    FlatButton* createButton() const { return create; }
    FlatButton* backButton() const { return back; }
    QString pictureUrl() const { return fileUrl; }
    QString pictureThumbnailUrl() const { return thumbnailUrl; }
    QString pendingPicture() const { return chosenPath; }

signals:
    void sendCreateGroupCommand(GroupInfoMembers ginfo);

public slots:
    void selectImage();
    void ignorClicked();
    void nextClicked();
    void backClicked();
    void createClicked();
    void uploadImageFinish(QString filePath, QString id, QString fileUrl, QString thumbnailUrl);
    void uploadError(QString filePath, int error, QString message);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showStep(bool one);
    void forgetUpload();

    QString fileUrl;
    QString thumbnailUrl;
    QString chosenPath;
    QWidget* first;
    QWidget* second;
    AvatarViewer* picture;
    CustomLineEdit* name;
    FlatButton* next;
    FlatButton* cancel;
    FlatButton* create;
    FlatButton* back;
};

#endif // CREATEGROUP_H
