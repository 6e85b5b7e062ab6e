#include "screens/editchannel.h"

#include "foundation/simpleqtlogger.h"
#include "screens/busyspinner.h"
#include "screens/picturechooser.h"
#include "screens/screenfonts.h"
#include "webapi/FileApi/uploadfile.h"
#include "widgets/checkbox.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/formerrorline.h"
#include "widgets/iconbutton.h"
#include "widgets/waitingspinnerwidget.h"

#include <QLabel>

namespace {

const int kGap = 20;
const int kSide = 60;
const int kButtonMargin = 10;

} // namespace

EditChannel::EditChannel(QWidget* parent)
    : PopupWindow(parent), uploader(new UploadFile()), busy(BusySpinner::make(this)),
      nameHead(new QLabel(tr("_ChannelNameHead"), getBoard())),
      name(new CustomLineEdit(tr("_ChannelNameContain"), getBoard())),
      descriptionHead(new QLabel(tr("_MottoHead"), getBoard())),
      description(new CustomLineEdit(tr("_MottoContain"), getBoard())),
      imageHead(new QLabel(tr("_ImageSelect"), getBoard())),
      image(new IconButton(QSize(40, 40), QStringLiteral(":/Images/menu_black.png"), getBoard())),
      reply(new CheckBox(getBoard())),
      submit(new FlatButton(tr("_Submit"), QSize(100, 32), getBoard())),
      ignore(new FlatButton(tr("ـIgnore"), QSize(100, 32), getBoard())),
      error(new QLabel(tr("ـNetWorkError"), getBoard()))
{
    channel.setCategoryId(QStringLiteral("0"));
    setTitle(tr("_EditChannel"));
    getWindow()->setMaximumSize(500, 500);
    const QFont form = ScreenFonts::digits(12);
    const QFont buttons = ScreenFonts::bold(14);
    for (QLabel* label : {nameHead, descriptionHead, imageHead})
        label->setFont(form);
    name->setObjectName(QStringLiteral("UserProfileUsername"));
    description->setObjectName(QStringLiteral("UserProfileMotto"));
    for (CustomLineEdit* field : {name, description}) {
        field->setFont(form);
        field->setAttribute(Qt::WA_MacShowFocusRect, false);
    }
    image->resize(80, 80);
    image->setObjectName(QStringLiteral("UserProfileUserImage"));
    image->setAccessibleName(tr("_ChannelPicture"));
    reply->setFont(form);
    reply->setText(tr("_ReplyAllowed"));
    for (FlatButton* button : {submit, ignore}) {
        button->setObjectName(QStringLiteral("UserProfileSubmitButton"));
        button->setFont(buttons);
    }
    error->setAlignment(Qt::AlignCenter);
    error->setFont(buttons);
    FormErrorLine::setUp(error);

    connect(image, &IconButton::onClick, this, &EditChannel::selectImage);
    connect(submit, &FlatButton::onClick, this, &EditChannel::submitPressed);
    connect(ignore, &FlatButton::onClick, this, &EditChannel::CancelClicked);
    connect(name, &QLineEdit::textEdited, this, &EditChannel::DataEdited);
    connect(description, &QLineEdit::textEdited, this, &EditChannel::DataEdited);
    connect(uploader, &UploadFile::UploadDone, this, &EditChannel::UploadImageFinish);
    connect(uploader, &UploadFile::UploadFailed, this, &EditChannel::UploadError);
}

EditChannel::~EditChannel()
{
    delete uploader;
}

void EditChannel::setChannelInfo(ChannelInfo info)
{
    error->hide();
    channel = info;
    // A picture chosen at an earlier opening and never sent does not come
    // back with this one.
    imagePath.clear();
    name->setText(info.getName());
    description->setText(info.getDescription());
    image->setIconPixmap(
        PictureChooser::oval(QPixmap::fromImage(info.getAvThumbnail()), QSize(80, 80)));
    reply->setChecked(info.getReplyAllowed() == QLatin1String("1"));
}

void EditChannel::selectImage()
{
    error->hide();
    const QString path =
        PictureChooser::ask(this, tr("Open Image"), tr("Image Files (*.png *.jpg *.bmp)"));
    if (!path.isEmpty())
        choosePicture(path);
}

void EditChannel::choosePicture(const QString& path)
{
    imagePath = path;
    const QImage picture(path);
    thumbnailPath = PictureChooser::writeThumbnail(picture);
    image->setIconPixmap(
        PictureChooser::oval(QPixmap::fromImage(picture.scaled(156, 156, Qt::IgnoreAspectRatio,
                                                               Qt::SmoothTransformation)),
                             QSize(80, 80)));
}

void EditChannel::showError(const QString& text)
{
    error->setText(text);
    error->show();
    busy->stop();
}

void EditChannel::submitPressed()
{
    busy->start();
    if (name->isEmptyText()) {
        showError(tr("_EnterChannelName"));
    } else if (description->isEmptyText()) {
        showError(tr("_EnterChannelDescription"));
    } else if (imagePath.isEmpty()) {
        error->hide();
        sendEdit();
    } else {
        uploader->upload(imagePath, UploadMode_Static, thumbnailPath);
    }
}

void EditChannel::sendEdit()
{
    channel.setDescription(description->text());
    channel.setName(name->text());
    channel.setReplyAllowed(reply->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    emit command(CMD_ChannelEdit, QVariant::fromValue(channel));
    busy->stop();
    hide();
}

void EditChannel::UploadImageFinish(QString filePath, QString, QString fileUrl,
                                    QString thumbnailUrl)
{
    // Only the picture chosen last is the channel's; once sent it is used up,
    // so a later edit does not upload it again.
    if (filePath != imagePath)
        return;
    channel.setAvatarThumbnailUrl(thumbnailUrl);
    channel.setAvatarUrl(fileUrl);
    imagePath.clear();
    sendEdit();
}

void EditChannel::UploadError(QString filePath, int code, QString message)
{
    L_DEBUG(
        QStringLiteral("EditChannel::UploadError | %1 %2 %3").arg(filePath).arg(code).arg(message));
    if (filePath != imagePath)
        return;
    showError(tr("ـNetWorkError"));
}

void EditChannel::CancelClicked()
{
    hide();
}

void EditChannel::DataEdited(QString)
{
    error->hide();
}

void EditChannel::resizeEvent(QResizeEvent* event)
{
    PopupWindow::resizeEvent(event);
    getWindow()->resize(500, 500);
    fitToParent();
    QWidget* board = getBoard();
    board->raise();
    const int needed = submit->height() + error->height() + imageHead->height() + image->height() +
                       description->height() + name->height() + 6 * kGap;
    if (board->height() < needed)
        board->resize(board->width(), needed);
    const int w = board->width();
    const int h = board->height();
    const int right = layoutDirection() == Qt::RightToLeft;
    imageHead->adjustSize();
    const int fieldWidth = w - (imageHead->width() + 2 * kSide);
    int y = kGap;
    for (auto row : {qMakePair(nameHead, name), qMakePair(descriptionHead, description)}) {
        row.first->adjustSize();
        row.first->move(right ? w - kSide - row.first->width() : kSide, y);
        row.second->setGeometry(right ? kSide : w - kSide - fieldWidth, y, fieldWidth,
                                row.second->height());
        y += row.second->height() + kGap;
    }
    imageHead->move(right ? w - kSide - imageHead->width() : kSide, y);
    image->move(w / 2 - image->width() / 2, y + imageHead->height());
    y += imageHead->height() + image->height() + kGap;
    reply->adjustSize();
    reply->move(right ? w - kSide - reply->width() : kSide, y);
    y += reply->height();
    error->setGeometry(0, y, w, error->height());
    submit->move(kButtonMargin, h - 10 - submit->height());
    ignore->move(submit->width() + 2 * kButtonMargin, submit->y());
}
