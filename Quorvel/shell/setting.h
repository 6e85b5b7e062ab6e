#ifndef SETTING_H
#define SETTING_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "widgets/popupwarning.h"

#include <QList>
#include <QVariant>
#include <QWidget>
#include <functional>

class AvatarViewer;
class DialogManager;
class FlatButton;
class IconButton;
class ImageViewer;
class QCheckBox;
class QLabel;
class QRadioButton;
class QScrollArea;
class QVBoxLayout;
class UserProfile;

// The settings screen: the user's profile, notifications, automatic
// downloads, the send key, the interface scale and the chat background. It
// reads the preferences when opened and saves them whenever it is hidden;
// the core receives its own copy of them with the save request.
class Setting : public QWidget
{
    Q_OBJECT
public:
    explicit Setting(QWidget* parent = nullptr);

    // Where the downloadable backgrounds are fetched from: the service's
    // static-file host.
    static QString backgroundHost();
    static QStringList backgroundPaths();

    QString getAppliedScale() const { return appliedScale; }
    QString getPendingScale() const { return pendingScale; }
    QString getChosenBackground() const { return chosenBackground; }
    QList<FlatButton*> getScaleButtons() const { return scaleButtons; }
    QList<ImageViewer*> getTiles() const { return tiles; }
    QCheckBox* previewBox() const { return showPreview; }
    QCheckBox* notificationsOffBox() const { return notificationsOff; }
    QCheckBox* photoBox() const { return photo; }
    QCheckBox* videoBox() const { return video; }
    QCheckBox* fileBox() const { return file; }
    QCheckBox* autoScaleBox() const { return autoScale; }
    QRadioButton* enterRadio() const { return sendByEnter; }
    QRadioButton* shiftEnterRadio() const { return sendByShiftEnter; }
    IconButton* closeButton() const { return close; }
    FlatButton* editButton() const { return edit; }
    QLabel* nicknameLabel() const { return nickname; }
    QLabel* mottoLabel() const { return motto; }
    QLabel* numberLabel() const { return number; }
    UserProfile* profileEditor() const { return userProfile; }
    DialogManager* dialogHost() const { return dialogManager; }
    // What a confirmed scale change runs: a restart of the program unless
    // replaced (tests record it instead).
    void setRestartAction(std::function<void()> action) { restartAction = std::move(action); }

signals:
    void command(Command cmd, QVariant var = QVariant());
    void backgroundChanged(QString url);

public slots:
    void loadSettings();
    void aboutToClose();
    void closeSetting();
    void setProfile(const Contact& c);
    void profileEditPressed();
    void backgroundSelect(const QString& imageID);
    void scaleButtomsClicked();
    void autoScaleClicked(int s);
    void selectScaleButton(int scale);
    void InterfaceScaleResponse(PopUpWarning::response rsp, const QString& applicator);
    void restartApp();

protected:
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* sectionTitle(const QString& text);
    QVBoxLayout* indentedColumn();
    QCheckBox* checkBox(const QString& text, QVBoxLayout* column);
    void buildHeader(QVBoxLayout* layout);
    void buildProfileRow();
    void buildSendKeyRows(QVBoxLayout* column);
    void buildScaleRows();
    void buildBackgroundGrid();
    void askForRestart();

    DialogManager* dialogManager;
    UserProfile* userProfile;
    QScrollArea* scrollArea;
    QWidget* scrollWidget;
    QVBoxLayout* scrollLayout;
    IconButton* close;
    QLabel* title;
    AvatarViewer* avatar;
    QLabel* nickname;
    QLabel* motto;
    QLabel* number;
    FlatButton* edit;
    QCheckBox* showPreview;
    QCheckBox* notificationsOff;
    QCheckBox* photo;
    QCheckBox* video;
    QCheckBox* file;
    QRadioButton* sendByEnter;
    QRadioButton* sendByShiftEnter;
    QList<FlatButton*> scaleButtons;
    QCheckBox* autoScale;
    ImageViewer* defaultTile;
    QList<ImageViewer*> tiles;
    QString chosenBackground;
    QString appliedScale;
    QString pendingScale;
    bool autoScaleConnected = false;
    std::function<void()> restartAction;
};

#endif // SETTING_H
