#include "screens/creategroup.h"

#include "foundation/simpleqtlogger.h"
#include "screens/picturechooser.h"
#include "screens/screenfonts.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/avatarviewer.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/stylesheetpaint.h"

#include <QBoxLayout>
#include <QStyle>

namespace {

const QString kDefaultPicture = QStringLiteral(":/Images/menu_black.png");

} // namespace

CreateGroup::CreateGroup(QWidget* parent)
    : QWidget(parent), first(new QWidget(this)), second(new QWidget(this)),
      picture(new AvatarViewer(first)), name(new CustomLineEdit(tr("_EnterGroupName"), first)),
      next(new FlatButton(tr("_Next"), first)), cancel(new FlatButton(tr("ـIgnore"), first)),
      create(new FlatButton(tr("_Create"), second)), back(new FlatButton(tr("_Back"), second))
{
    picture->setFixedSize(80, 80);
    picture->setAvatarSize(QSize(80, 80));
    picture->setPixmap(QPixmap(kDefaultPicture));
    picture->setObjectName(QStringLiteral("UserProfileUserImage"));
    name->setAttribute(Qt::WA_MacShowFocusRect, false);
    name->setFont(ScreenFonts::digits(12));
    for (FlatButton* button : {next, cancel}) {
        button->setObjectName(QStringLiteral("AddNewContactButton"));
        button->setFont(ScreenFonts::bold(14));
    }
    for (FlatButton* button : {create, back}) {
        button->setContentsMargins(5, 5, 5, 5);
        button->setObjectName(QStringLiteral("AddNewContactButton"));
        button->setFont(ScreenFonts::bold(14));
    }

    auto* one = new QVBoxLayout(first);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(picture);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(name);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(next);
    buttons->addWidget(cancel);
    one->addLayout(pictureRow);
    one->addLayout(nameRow);
    one->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Expanding));
    one->addLayout(buttons);

    auto* two = new QVBoxLayout(second);
    two->setSpacing(0);
    two->setMargin(0);
    two->setAlignment(Qt::AlignCenter);
    auto* confirm = new QHBoxLayout;
    confirm->setMargin(10);
    confirm->setSpacing(10);
    confirm->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));
    confirm->addWidget(create);
    confirm->addWidget(back);
    two->addLayout(confirm);

    auto* layout = new QVBoxLayout(this);
    layout->setMargin(0);
    layout->setSpacing(0);
    layout->setAlignment(Qt::AlignCenter);
    layout->addWidget(first, 0, Qt::AlignCenter);
    layout->addWidget(second, 0, Qt::AlignCenter);

    connect(picture, &AvatarViewer::onClick, this, &CreateGroup::selectImage);
    connect(next, &FlatButton::onClick, this, &CreateGroup::nextClicked);
    connect(cancel, &FlatButton::onClick, this, &CreateGroup::ignorClicked);
    connect(create, &FlatButton::onClick, this, &CreateGroup::createClicked);
    connect(back, &FlatButton::onClick, this, &CreateGroup::backClicked);
    resetForm();
}

void CreateGroup::resetForm()
{
    // A picture still uploading belongs to the group that was not created:
    // it is dropped with its addresses, and the form shows no picture.
    forgetUpload();
    name->onTextChanged(QString());
    showStep(true);
}

void CreateGroup::forgetUpload()
{
    UploadManager* uploads = UploadManager::getInstance();
    disconnect(uploads, nullptr, this, nullptr);
    if (!chosenPath.isEmpty() && fileUrl.isEmpty())
        uploads->cancelUpload(chosenPath);
    chosenPath.clear();
    fileUrl.clear();
    thumbnailUrl.clear();
    picture->setPixmap(QPixmap(kDefaultPicture));
}

void CreateGroup::showStep(bool one)
{
    first->setVisible(one);
    second->setVisible(!one);
    const QSize size = one ? QSize(300, 200) : QSize(450, 450);
    (one ? first : second)->setFixedSize(size);
    setFixedSize(size);
}

void CreateGroup::nextClicked()
{
    if (name->isEmptyText()) {
        name->setObjectName(QStringLiteral("Error"));
        name->setStyleSheet(QString());
        name->style()->unpolish(name);
        name->style()->polish(name);
        return;
    }
    showStep(false);
}

void CreateGroup::backClicked()
{
    showStep(true);
}

void CreateGroup::ignorClicked()
{
    hide();
}

void CreateGroup::selectImage()
{
    const QString path =
        PictureChooser::ask(this, tr("Open Image"), tr("Image Files (*.png *.jpg *.bmp)"));
    if (!path.isEmpty())
        choosePicture(path);
}

void CreateGroup::choosePicture(const QString& path)
{
    forgetUpload();
    chosenPath = path;
    UploadManager* uploads = UploadManager::getInstance();
    uploads->uploadFile(path, UploadMode_Static);
    connect(uploads, &UploadManager::uploadDone, this, &CreateGroup::uploadImageFinish);
    connect(uploads, &UploadManager::uploadFailed, this, &CreateGroup::uploadError);
}

void CreateGroup::uploadImageFinish(QString filePath, QString, QString url, QString thumbnail)
{
    if (filePath != chosenPath)
        return;
    picture->downloadAvatar(thumbnail);
    disconnect(UploadManager::getInstance(), nullptr, this, nullptr);
    fileUrl = url;
    thumbnailUrl = thumbnail;
}

void CreateGroup::uploadError(QString filePath, int error, QString message)
{
    L_DEBUG(QStringLiteral("CreateGroup::uploadError | %1 %2 %3")
                .arg(filePath)
                .arg(error)
                .arg(message));
}

void CreateGroup::createClicked()
{
    GroupInfo info;
    info.setAvUrl(fileUrl);
    info.setAvThUrl(thumbnailUrl);
    info.setName(name->text());
    GroupInfoMembers group;
    group.setInfo(info);
    emit sendCreateGroupCommand(group);
    hide();
}

void CreateGroup::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
