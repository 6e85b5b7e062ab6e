#include "shell/userprofile.h"

#include "foundation/simpleqtlogger.h"
#include "webapi/FileApi/staticfile.h"
#include "webapi/FileApi/uploadfile.h"
#include "widgets/flatbutton.h"
#include "widgets/hintlineedit.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/keyboardreach.h"
#include "widgets/roundpixmap.h"
#include "widgets/toastmessage.h"
#include "widgets/waitingspinnerwidget.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
QLineEdit* field(const QString& placeholder, const QString& objectName, QWidget* parent)
{
    auto* edit = new HintLineEdit(parent);
    edit->setPlaceholderText(placeholder);
    edit->setAccessibleName(placeholder);
    edit->setObjectName(objectName);
    // Right in the right-to-left window: a plain AlignRight would be mirrored
    // to the left edge there, hint and text alike.
    edit->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    QFont font = edit->font();
    font.setPixelSize(baseFontSize);
    edit->setFont(font);
    return edit;
}
} // namespace

UserProfile::UserProfile(QWidget* parent)
    : QWidget(parent), avatarFile(new StaticFile(this)), uploader(new UploadFile(this))
{
    setFixedSize(400, 300);
    // The page floats over the dimmed window: without its own background the
    // content panel's logo shows through the fields.
    setAutoFillBackground(true);
    QPalette page = palette();
    page.setColor(QPalette::Window, Qt::white);
    setPalette(page);
    auto* layout = new QVBoxLayout(this);
    picture =
        new IconButton(QSize(40, 40), QStringLiteral(":/Images/ic_camera_round bold .png"), this);
    picture->setFixedSize(avatarPreviewSize, avatarPreviewSize);
    picture->setObjectName(QStringLiteral("UserProfileUserImage"));
    picture->setAccessibleName(tr("_ChoosePicture"));
    layout->addWidget(picture, 0, Qt::AlignCenter);
    layout->addStretch();

    name = field(tr("_UserName"), QStringLiteral("UserProfileUsername"), this);
    auto* nameRow = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(
        QPixmap(QStringLiteral(":/Images/ic_chat.png"))
            .scaled(formIconSize, formIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    nameRow->addWidget(icon);
    nameRow->addWidget(name);
    layout->addLayout(nameRow);
    motto = field(tr("_Motto"), QStringLiteral("UserProfileMotto"), this);
    layout->addWidget(motto);
    id = field(tr("_UserID"), QStringLiteral("UserProfileMotto"), this);
    id->setEnabled(false);
    layout->addWidget(id);
    layout->addStretch();

    auto* submit = new FlatButton(tr("_Submit"), QSize(100, 32), this);
    submit->setObjectName(QStringLiteral("UserProfileSubmitButton"));
    submit->setContentsMargins(20, 2, 20, 2);
    layout->addWidget(submit, 0, Qt::AlignCenter);

    spinner = new WaitingSpinnerWidget(this, true, true);
    spinner->setCornerRoundness(70);
    spinner->setMinTrailOpacity(15);
    spinner->setTrailFade(70);
    spinner->setLineCount(12);
    spinner->setBarLength(10);
    spinner->setLineThickness(5);
    spinner->setRingRadius(10);
    spinner->setTurnsPerSecond(1);
    spinner->setLineColor(QColor(81, 4, 71));

    // By keyboard: Tab from the name to the motto, the save button and the
    // picture; Enter in a field saves.
    KeyboardReach::enable(picture);
    KeyboardReach::enable(submit);
    setTabOrder(name, motto);
    setTabOrder(motto, submit);
    setTabOrder(submit, picture);

    connect(picture, &IconButton::onClick, this, &UserProfile::selectImage);
    connect(submit, &FlatButton::onClick, this, &UserProfile::submitPressed);
    connect(name, &QLineEdit::returnPressed, this, &UserProfile::submitPressed);
    connect(motto, &QLineEdit::returnPressed, this, &UserProfile::submitPressed);
    connect(avatarFile, &StaticFile::imageReady, this, &UserProfile::imageReady);
    connect(name, &QLineEdit::textEdited, this, &UserProfile::DataEdited);
    connect(motto, &QLineEdit::textEdited, this, &UserProfile::DataEdited);
    connect(uploader, &UploadFile::UploadDone, this, &UserProfile::UploadImageFinish);
    connect(uploader, &UploadFile::UploadFailed, this, &UserProfile::UploadError);
}

void UserProfile::setProfileData(const Contact& contact)
{
    profile = contact;
    if (!contact.getNickName().isEmpty())
        name->setText(contact.getNickName());
    if (!contact.getMotto().isEmpty())
        motto->setText(contact.getMotto());
    L_DEBUG(QStringLiteral("UserProfile::setProfileData profile thumbnail:") +
            contact.getAvatarThumbnailUrl());
    if (!contact.getAvatarThumbnailUrl().isEmpty())
        avatarFile->setUrl(contact.getAvatarThumbnailUrl(), StaticFile::LocalFirst,
                           StaticFile::AvatarThumbnails, true);
}

void UserProfile::setQuorvelId(const QString& value)
{
    id->setEnabled(true);
    userId = value;
    id->setText(value);
}

void UserProfile::showRoundAvatar(const QImage& image)
{
    const QPixmap pixmap = QPixmap::fromImage(image);
    picture->setIconPixmap(roundPixmap(pixmap, QSize(avatarPreviewSize, avatarPreviewSize)));
}

void UserProfile::imageReady(QImage image)
{
    profile.setAvThumbnail(image);
    showRoundAvatar(image);
}

void UserProfile::selectImage()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open Image"), QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        tr("Image Files (*.png *.jpg *.bmp)"));
    if (!path.isEmpty())
        choosePicture(path);
}

bool UserProfile::choosePicture(const QString& path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString thumbnail = dataDir + QStringLiteral("/Thumbnail.jpg");
    if (image.isNull() || !QDir().mkpath(dataDir) ||
        !image
             .scaled(avatarCropSize, avatarCropSize, Qt::IgnoreAspectRatio,
                     Qt::SmoothTransformation)
             .save(thumbnail, "JPG")) {
        L_WARN(QStringLiteral("UserProfile::choosePicture | unreadable image: ") + path);
        ToastMessage::getInstance()->showMessage(tr("_ImageUnreadable"));
        return false;
    }
    L_DEBUG(
        QStringLiteral("UserProfile::selectImage %1x%2").arg(image.width()).arg(image.height()));
    imagePath = path;
    thumbnailPath = thumbnail;
    showRoundAvatar(image);
    return true;
}

void UserProfile::submitPressed()
{
    spinner->start();
    L_DEBUG(QStringLiteral("UserProfile::submitPressed ") + motto->text());
    if (imagePath.isEmpty() && !name->text().isEmpty()) {
        profile.setMotto(motto->text());
        profile.setNickName(name->text());
        emit command(CMD_SetProfile, QVariant::fromValue(profile));
        finishSubmit();
    } else if (name->text().isEmpty()) {
        ToastMessage::getInstance()->showMessage(tr("ـEnterUserName"));
        spinner->stop();
    } else {
        uploader->upload(imagePath, UploadMode_Static, thumbnailPath);
    }
    if (id->isEnabled() && id->text() != userId)
        emit command(CMD_SetQuorvelId, QVariant(id->text()));
}

void UserProfile::finishSubmit()
{
    spinner->stop();
    hide();
}

void UserProfile::CancelClicked()
{
    imagePath.clear();
    thumbnailPath.clear();
    if (!profile.getAvThumbnail().isNull())
        showRoundAvatar(profile.getAvThumbnail());
    else
        picture->setIcon(QStringLiteral(":/Images/menu_black.png"));
    hide();
}

void UserProfile::UploadImageFinish(QString, QString, QString fileUrl, QString thumbnailUrl)
{
    profile.setAvatarThumbnailUrl(thumbnailUrl);
    profile.setAvatarUrl(fileUrl);
    profile.setMotto(motto->text());
    profile.setNickName(name->text());
    emit command(CMD_SetProfile, QVariant::fromValue(profile));
    finishSubmit();
}

void UserProfile::UploadError(QString, int, QString)
{
    L_DEBUG(QStringLiteral("UserProfile::UploadError"));
    ToastMessage::getInstance()->showMessage(tr("ـNetWorkError"));
    spinner->stop();
}

void UserProfile::DataEdited(QString) {}
