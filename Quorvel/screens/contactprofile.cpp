#include "screens/contactprofile.h"

#include "foundation/simpleqtlogger.h"
#include "screens/panelslider.h"
#include "screens/profileheader.h"
#include "screens/screenfonts.h"
#include "webapi/FileApi/staticfile.h"
#include "widgets/avatarviewer.h"
#include "widgets/checkbox.h"
#include "widgets/dateconverter.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/iconbutton.h"
#include "widgets/phonetext.h"
#include "widgets/stylesheetpaint.h"
#include "widgets/viewer.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QLabel>

namespace {

const int kMargin = 20;
const int kHeader = ProfileHeader::height;

// The profile's family with the digits every other screen shows: a number,
// a time or a name holding digits reads here as in the chat header and rows.
QFont writtenDigits(const QFont& font)
{
    QFont written = Fonts::getInstance()->regular;
    written.setPointSize(font.pointSize());
    return written;
}

} // namespace

ContactProfile::ContactProfile(QWidget* parent)
    : QWidget(parent), slider(new PanelSlider(this, 300)), large(ScreenFonts::digits(16)),
      small(ScreenFonts::digits(10)), header(ProfileHeader::makeStrip(this)),
      back(ProfileHeader::makeBackButton(this)), title(new QLabel(tr("_Title"), this)),
      deleteContact(new FlatButton(tr("_DeleteContact"), this)), content(new QWidget(this)),
      avatar(new AvatarViewer(content)), name(new QLabel(content)), lastSeen(new QLabel(content)),
      number(new QLabel(content)), sendMessage(new FlatButton(tr("_SendMessage"), content)),
      call(new FlatButton(tr("_Call"), content)), config(new QLabel(tr("_Cofig"), content)),
      mute(new CheckBox(content)), block(new CheckBox(content)),
      deleteHistory(new FlatButton(tr("_DeleteChatHistory"), content)),
      deleteContactList(new FlatButton(tr("_DeleteContactList"), content))
{
    for (QLabel* label :
         {static_cast<QLabel*>(title), static_cast<QLabel*>(deleteContact), lastSeen,
          static_cast<QLabel*>(deleteHistory), static_cast<QLabel*>(deleteContactList)})
        label->setObjectName(QStringLiteral("ProfileLinkStyle"));
    for (QLabel* label :
         {title, static_cast<QLabel*>(deleteContact), lastSeen, number,
          static_cast<QLabel*>(deleteHistory), static_cast<QLabel*>(deleteContactList)})
        label->setFont(small);
    for (QLabel* label :
         {name, static_cast<QLabel*>(sendMessage), static_cast<QLabel*>(call), config})
        label->setFont(large);
    for (QLabel* label : {name, lastSeen, number}) {
        label->setTextFormat(Qt::PlainText);
        label->setFont(writtenDigits(label->font()));
    }
    lastSeen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sendMessage->setAlignment(Qt::AlignCenter);
    call->setAlignment(Qt::AlignCenter);
    call->setEnabled(false);
    avatar->resize(100, 100);
    avatar->setAvatarSize(QSize(100, 100));
    mute->setFont(small);
    mute->setText(tr("_Mute"));
    block->setFont(small);
    block->setText(tr("_UserBlocking"));
    deleteContactList->hide();

    connect(back, &IconButton::onClick, this, &ContactProfile::backButtonPressed);
    connect(sendMessage, &FlatButton::onClick, this, &ContactProfile::sendMessagePressed);
    connect(avatar, &AvatarViewer::onClick, this, &ContactProfile::avatarClicked);
    connect(mute, &CheckBox::selected, this, &ContactProfile::notifSelected);
    connect(mute, &CheckBox::unselected, this, &ContactProfile::notifDeselected);
    connect(block, &CheckBox::selected, this, &ContactProfile::blockedSelected);
    connect(block, &CheckBox::unselected, this, &ContactProfile::blockedDeselected);
    connect(deleteContact, &FlatButton::onClick, this, &ContactProfile::DeleteContactPressed);
    connect(deleteHistory, &FlatButton::onClick, this, &ContactProfile::DeleteHistoryPressed);
    connect(deleteContactList, &FlatButton::onClick, this,
            &ContactProfile::DeleteContactListPressed);
    connect(slider, &PanelSlider::exitFinished, this, &ContactProfile::exitAnimationFinished);
}

ContactProfile::~ContactProfile()
{
    delete fullPicture;
}

void ContactProfile::setContact(const Contact& value)
{
    L_DEBUG(QStringLiteral("ContactProfile::setContact | ") +
            QString::fromUtf8(QJsonDocument(value.toJsonObject()).toJson(QJsonDocument::Compact)));
    if (value.getNumber() != contact.getNumber()) {
        lastSeenTime = QDateTime();
        pendingLastSeen.clear();
    }
    contact = value;
    name->setText(PhoneText::name(value));
    name->adjustSize();
    if (value.getIsMyContact())
        number->setText(PhoneText::number(value.getNumber()));
    number->adjustSize();
    mute->setChecked(value.getMute());
    block->setChecked(value.getBlocked());
    avatar->setAvatarType(AvatarViewer::Person);
    avatar->setAvatarId(value.getNumber());
    if (!value.getAvatarThumbnailUrl().isEmpty())
        avatar->downloadAvatar(value.getAvatarThumbnailUrl());
    requestLastSeen(true);
}

void ContactProfile::showContact(const Contact& value)
{
    setContact(value);
    refreshView();
}

void ContactProfile::setLastSeen(const QString& forNumber, const QDateTime& time)
{
    if (forNumber != contact.getNumber())
        return;
    lastSeenTime = time;
    pendingLastSeen.clear();
    refreshView();
}

void ContactProfile::requestLastSeen(bool evenIfPending)
{
    const QString wanted = contact.getNumber();
    if (wanted.isEmpty() || (!evenIfPending && pendingLastSeen == wanted))
        return;
    pendingLastSeen = wanted;
    emit command(CMD_LastSeen, QVariant(wanted));
}

void ContactProfile::refreshView()
{
    const int width = content->width();
    const int side = width - 10 - kMargin - avatar->width();
    avatar->move(width - kMargin - avatar->width(), 10);
    name->move(side - name->width(), 10);
    int y = name->height() + 10;
    if (lastSeenTime.isValid()) {
        lastSeen->setText(DateConverter().lastSeenText(lastSeenTime));
        lastSeen->adjustSize();
        lastSeen->show();
    } else {
        requestLastSeen(false);
        lastSeen->setText(QCoreApplication::translate("DateConverter", "_LastObservation"));
        lastSeen->adjustSize();
        lastSeen->hide();
    }
    lastSeen->move(side - lastSeen->width(), y);
    y += lastSeen->height();
    number->setGeometry(0, y, side, number->height());
    y += number->height();
    const int buttons = (y > avatar->height() + 10 ? y + 10 : avatar->height() + 10) + 10;
    const int bw = qMin((width - 40 - kMargin) / 2, 200);
    sendMessage->setGeometry(width - 10 - kMargin - bw, buttons, bw, sendMessage->height());
    call->setGeometry(width - 20 - kMargin - bw - sendMessage->width(), buttons, bw,
                      call->height());
    y = buttons + sendMessage->height();
    for (QWidget* row : {static_cast<QWidget*>(config), static_cast<QWidget*>(mute),
                         static_cast<QWidget*>(block)}) {
        row->setGeometry(0, y, width - kMargin, row->height());
        y += row->height();
    }
    for (FlatButton* link : {deleteHistory, deleteContactList}) {
        link->adjustSize();
        link->move(width - kMargin - link->width(), y);
        y += link->height();
    }
    content->resize(width, y);
}

void ContactProfile::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ProfileHeader::place(this, header, back, title, {deleteContact});
    content->setGeometry(0, kHeader, width(), height());
    refreshView();
}

void ContactProfile::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}

void ContactProfile::slideIn()
{
    if (QWidget* parent = parentWidget())
        setGeometry(0, 0, parent->width(), parent->height());
    slider->slideIn();
    show();
}

void ContactProfile::slideOut()
{
    slider->slideOut();
}

void ContactProfile::backButtonPressed()
{
    slideOut();
    emit contactProfileBackPressed();
}

void ContactProfile::sendMessagePressed()
{
    slideOut();
    emit startMessaging(contact);
}

void ContactProfile::hideWidget()
{
    if (isHidden())
        return;
    if (QWidget* parent = parentWidget())
        setGeometry(0, 0, parent->width(), parent->height());
    slideOut();
}

void ContactProfile::exitAnimationFinished()
{
    hide();
}

void ContactProfile::avatarClicked()
{
    if (contact.getAvatarUrl().isEmpty() || contact.getAvatarThumbnailUrl().isEmpty())
        return;
    if (!fullPicture) {
        fullPicture = new StaticFile();
        connect(fullPicture, &StaticFile::imageReady, this, [this](const QImage& image) {
            if (!image.isNull())
                Viewer::getInstance()->showImage(fullPicture->getFileUrl());
        });
    }
    fullPicture->setUrl(contact.getAvatarUrl(), StaticFile::LocalFirst, StaticFile::Others, true);
}

void ContactProfile::notifSelected()
{
    contact.setMute(true);
    emit command(CMD_UpdateMuteStatus, QVariant::fromValue(contact));
}

void ContactProfile::notifDeselected()
{
    contact.setMute(false);
    emit command(CMD_UpdateMuteStatus, QVariant::fromValue(contact));
}

void ContactProfile::blockedSelected()
{
    contact.setBlocked(true);
    emit command(CMD_BlockUser, QVariant::fromValue(contact));
}

void ContactProfile::blockedDeselected()
{
    contact.setBlocked(false);
    emit command(CMD_BlockUser, QVariant::fromValue(contact));
}

void ContactProfile::ask(const QString& message, const QString& applicator)
{
    PopUpWarning::showWarning(message, applicator, true, 0);
    connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
            &ContactProfile::warningPopupResponse, Qt::UniqueConnection);
}

void ContactProfile::DeleteContactPressed()
{
    ask(tr("_DeleteContactWarningMessage"), QStringLiteral("DeleteContact"));
}

void ContactProfile::DeleteHistoryPressed()
{
    ask(tr("_DeleteHistoryWarningMessage"), QStringLiteral("DeleteHistory"));
}

void ContactProfile::DeleteContactListPressed()
{
    ask(tr("_DeleteContactListWarningMessage"), QStringLiteral("DeleteContactList"));
}

void ContactProfile::warningPopupResponse(PopUpWarning::response res, QString applicator)
{
    disconnect(PopUpWarning::getInstance(), nullptr, this, nullptr);
    if (res != PopUpWarning::yes)
        return;
    if (applicator == QLatin1String("DeleteHistory")) {
        emit command(CMD_DeleteChat, QVariant(contact.getNumber()));
    } else if (applicator == QLatin1String("DeleteContact")) {
        emit command(CMD_DeleteContact, QVariant::fromValue(contact));
        slideOut();
    }
}
