#include "screens/createchannel.h"

#include "foundation/simpleqtlogger.h"
#include "screens/busyspinner.h"
#include "screens/channelcategorypopup.h"
#include "screens/picturechooser.h"
#include "screens/screenfonts.h"
#include "webapi/FileApi/uploadfile.h"
#include "widgets/checkbox.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/formerrorline.h"
#include "widgets/iconbutton.h"
#include "widgets/roundpixmap.h"
#include "widgets/stylesheetpaint.h"
#include "widgets/waitingspinnerwidget.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTimer>

namespace {

const QString kDefaultPicture = QStringLiteral(":/Images/menu_black.png");

} // namespace

CreateChannel::CreateChannel(QWidget* parent)
    : QWidget(parent), uploader(new UploadFile()), categories(new ChannelCategoryPopUp(1, this)),
      busy(BusySpinner::make(this)), checkTimer(new QTimer(this)),
      description(new CustomLineEdit(tr("_MottoContain"), this)),
      name(new CustomLineEdit(tr("_ChannelNameContain"), this)),
      id(new CustomLineEdit(tr("Please Enter channel ID"), this)),
      picture(new IconButton(QSize(40, 40), kDefaultPicture, this)), reply(new CheckBox(this)),
      submit(new FlatButton(tr("_Submit"), QSize(100, 32), this)),
      ignore(new FlatButton(tr("ـIgnore"), QSize(100, 32), this)),
      categoryLabel(new QLabel(tr("_ChannelCategoryContain"), this)),
      categoryButton(new FlatButton(tr("_ChannelCategoryButton"), QSize(160, 32), this)),
      error(new QLabel(tr("ـNetWorkError"), this))
{
    setMinimumSize(500, 500);
    channel.setCategoryId(QStringLiteral("0"));
    categories->hide();
    connect(categories, &ChannelCategoryPopUp::command, this, &CreateChannel::command);
    connect(categories, &ChannelCategoryPopUp::channelCatSelected, this,
            &CreateChannel::SelectedCategory);
    checkTimer->setSingleShot(true);
    checkTimer->setInterval(20000);
    connect(checkTimer, &QTimer::timeout, this, [this] { fail(tr("ـNetWorkError")); });

    const QFont form = ScreenFonts::digits(12);
    const QFont buttons = ScreenFonts::bold(14);
    description->setObjectName(QStringLiteral("UserProfileMotto"));
    name->setObjectName(QStringLiteral("UserProfileUsername"));
    id->setObjectName(QStringLiteral("UserProfileMotto"));
    for (CustomLineEdit* field : {description, name, id}) {
        field->setFont(form);
        field->setAttribute(Qt::WA_MacShowFocusRect, false);
    }
    picture->setFixedSize(80, 80);
    picture->setObjectName(QStringLiteral("UserProfileUserImage"));
    picture->setAccessibleName(tr("_ImageSelect"));
    reply->setFont(form);
    reply->setText(tr("_ReplyAllowed"));
    for (FlatButton* button : {submit, ignore}) {
        button->setFixedSize(100, 32);
        button->setObjectName(QStringLiteral("UserProfileSubmitButton"));
        button->setFont(buttons);
    }
    categoryLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute);
    categoryLabel->setTextFormat(Qt::PlainText);
    categoryButton->setFont(buttons);
    categoryButton->setFixedSize(160, 32);
    categoryButton->setObjectName(QStringLiteral("UserProfileSubmitButton"));
    error->setAlignment(Qt::AlignCenter);
    error->setFont(buttons);
    FormErrorLine::setUp(error);

    auto* layout = new QVBoxLayout(this);
    const auto row = [&](std::initializer_list<QWidget*> widgets) {
        auto* line = new QHBoxLayout;
        for (QWidget* widget : widgets)
            line->addWidget(widget);
        layout->addLayout(line);
    };
    const auto heading = [&](const QString& text) {
        auto* label = new QLabel(text, this);
        label->setFont(form);
        return label;
    };
    row({new QLabel(tr("_CreateChannel"), this)});
    row({heading(tr("_MottoHead")), description});
    row({heading(tr("_ChannelNameHead")), name});
    row({heading(tr("Channel ID:")), id});
    row({heading(tr("_ImageSelect")), picture});
    row({reply});
    // The directory lists the channel under the category chosen here.
    row({heading(tr("_ChannelCategoryHead")), categoryLabel, categoryButton});
    // The error goes where it can be read whole, above the buttons.
    layout->addWidget(error);
    row({submit, ignore});
    layout->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Fixed, QSizePolicy::Expanding));

    connect(submit, &FlatButton::onClick, this, &CreateChannel::submitPressed);
    connect(ignore, &FlatButton::onClick, this, &CreateChannel::CancelClicked);
    connect(picture, &IconButton::onClick, this, &CreateChannel::selectImage);
    connect(categoryButton, &FlatButton::onClick, this, &CreateChannel::selectCategory);
    connect(name, &QLineEdit::textEdited, this, &CreateChannel::DataEdited);
    connect(description, &QLineEdit::textEdited, this, &CreateChannel::DataEdited);
    connect(uploader, &UploadFile::UploadDone, this, &CreateChannel::UploadImageFinish);
    connect(uploader, &UploadFile::UploadFailed, this, &CreateChannel::UploadError);
    resetForm();
}

CreateChannel::~CreateChannel()
{
    delete uploader;
}

void CreateChannel::setCheckTimeout(int milliseconds)
{
    checkTimer->setInterval(milliseconds);
}

void CreateChannel::setCategories(QHash<QString, ChannelCategory> all)
{
    categories->setCategories(all);
}

void CreateChannel::selectImage()
{
    error->hide();
    const QString path =
        PictureChooser::ask(this, tr("Open Image"), tr("Image Files (*.png *.jpg *.bmp)"));
    if (!path.isEmpty())
        choosePicture(path);
}

void CreateChannel::choosePicture(const QString& path)
{
    picturePath = path;
    const QImage image(path);
    L_DEBUG(QStringLiteral("CreateChannel::selectImage | %1x%2")
                .arg(image.width())
                .arg(image.height()));
    thumbnailPath = PictureChooser::writeThumbnail(image);
    picture->setIconPixmap(roundPixmap(
        QPixmap::fromImage(image.scaled(156, 156, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
        QSize(80, 80)));
}

void CreateChannel::fillChannel()
{
    channel.setDescription(description->text());
    channel.setName(name->text());
    channel.setId(id->text());
    channel.setReplyAllowed(reply->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void CreateChannel::checkId()
{
    fillChannel();
    // Without an answer the form gives up with the network error instead
    // of staying disabled.
    checkTimer->start();
    emit command(CMD_ChannelCheckId, QVariant(channel.getId()));
}

void CreateChannel::fail(const QString& text)
{
    checkTimer->stop();
    error->setText(text);
    error->show();
    busy->stop();
}

void CreateChannel::submitPressed()
{
    busy->start();
    L_DEBUG(QStringLiteral("CreateChannel::submitPressed ") + description->text());
    if (name->isEmptyText())
        fail(tr("_EnterChannelName"));
    else if (description->isEmptyText())
        fail(tr("_EnterChannelDescription"));
    else if (id->isEmptyText())
        fail(tr("Error: Enter channel ID"));
    else if (picturePath.isEmpty())
        checkId();
    else
        uploader->upload(picturePath, UploadMode_Static, thumbnailPath);
}

void CreateChannel::UploadImageFinish(QString filePath, QString, QString fileUrl,
                                      QString thumbnailUrl)
{
    if (filePath != picturePath)
        return;
    channel.setAvatarThumbnailUrl(thumbnailUrl);
    channel.setAvatarUrl(fileUrl);
    checkId();
}

void CreateChannel::UploadError(QString filePath, int code, QString message)
{
    L_DEBUG(QStringLiteral("CreateChannel::UploadError %1 %2").arg(code).arg(message));
    if (filePath == picturePath)
        fail(tr("ـNetWorkError"));
}

void CreateChannel::channelIdAvailability(ChannelIdAvailability availability)
{
    if (!checkTimer->isActive() || availability.getChannelId() != channel.getId())
        return;
    if (!availability.getAvailable()) {
        fail(tr("Error: channel ID not valid"));
        return;
    }
    checkTimer->stop();
    emit command(CMD_ChannelCreate, QVariant::fromValue(channel));
    error->hide();
    busy->stop();
    resetForm();
    hide();
}

void CreateChannel::resetForm()
{
    categoryLabel->setText(tr("_ChannelCategoryContain"));
    categoryLabel->adjustSize();
    channel.setCategoryId(QStringLiteral("0"));
    error->hide();
    if (!picturePath.isEmpty()) {
        picturePath.clear();
        thumbnailPath.clear();
        picture->setIcon(kDefaultPicture);
    }
    channel.setAvatarUrl(QString());
    channel.setAvatarThumbnailUrl(QString());
    // A new channel starts from an empty form: an id left from the last one
    // would be sent with the words typed after it.
    for (CustomLineEdit* field : {description, name, id})
        field->onTextChanged(QString());
    reply->setChecked(false);
}

void CreateChannel::CancelClicked()
{
    checkTimer->stop();
    busy->stop();
    resetForm();
    hide();
}

void CreateChannel::DataEdited(QString)
{
    error->hide();
}

void CreateChannel::selectCategory()
{
    categories->requestCategories();
    categories->raise();
    categories->show();
}

void CreateChannel::SelectedCategory(ChannelCategory chanCat)
{
    channel.setCategoryId(chanCat.getCategoryID());
    categoryLabel->setText(chanCat.getCategoryName());
    categoryLabel->adjustSize();
}

void CreateChannel::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
