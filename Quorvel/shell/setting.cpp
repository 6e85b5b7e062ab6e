#include "shell/setting.h"

#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "shell/imageviewer.h"
#include "shell/programrestart.h"
#include "shell/userprofile.h"
#include "widgets/avatarviewer.h"
#include "widgets/dialogmanager.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/stylesheetpaint.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>

namespace {

const QString defaultBackground = QStringLiteral(":/Images/img_default_chat_bg.png");
const QString defaultId = QStringLiteral("Default");
const QString scaleApplicator = QStringLiteral("AutoScate");
const int tileSide = 120;
const int scaleSteps[] = {100, 125, 150, 175, 200};

QLabel* plainLabel(QWidget* parent, const QString& objectName = QString())
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFont(Fonts::getFont(baseFontSize));
    // Profile lines come from the service: never markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QHBoxLayout* row(int spacing = -1)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    if (spacing >= 0)
        layout->setSpacing(spacing);
    return layout;
}

void addStretch(QBoxLayout* layout)
{
    layout->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));
}

} // namespace

QString Setting::backgroundHost()
{
    QString host = ServiceConfig::webServiceBaseUrl();
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host;
}

QStringList Setting::backgroundPaths()
{
    return {QStringLiteral("/static_file/d6/15004655103852yrDzZW4unaxYRVvGHqdTj9OCplk0eX6"),
            QStringLiteral("/static_file/d6/1500465593078YfFhCaZtNj45zuLd2MReqBxE8GK0Vobp"),
            QStringLiteral("/static_file/d6/1500465679946UA6f4mFq8yVLPJMnToR1xazscdWZDQKI"),
            QStringLiteral("/static_file/d5/1501155449645mAdbVy4QKfP3qgnrwpE98HDkaeUXRNCu"),
            QStringLiteral("/static_file/d6/15004658103955RB6zVowcC8gjDpkIqyZrfQ0xdNPLGAX"),
            QStringLiteral("/static_file/d5/1500465870307SkWIaXRMKCHeDjclN5PzyGdVvQAUgwO9"),
            QStringLiteral("/static_file/d5/1500466124011okhEGcLw3SBPJFefMpjV2YRCI5qzn4Xb"),
            QStringLiteral("/static_file/d5/1500465380708QUrSjlLEnxa2Rf9cd1vB3DVotPhyFAub")};
}

Setting::Setting(QWidget* parent) : QWidget(parent)
{
    setMinimumWidth(800);
    dialogManager = new DialogManager(this);
    dialogManager->hide();
    userProfile = new UserProfile;
    userProfile->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildHeader(layout);

    scrollArea = new QScrollArea(this);
    scrollArea->setWidgetResizable(true);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    scrollWidget = new QWidget;
    scrollWidget->setObjectName(QStringLiteral("SettingScrollWidget"));
    scrollLayout = new QVBoxLayout(scrollWidget);
    scrollArea->setWidget(scrollWidget);
    layout->addWidget(scrollArea);

    buildProfileRow();

    scrollLayout->addWidget(sectionTitle(tr("_NotificationPart")));
    QVBoxLayout* notifications = indentedColumn();
    showPreview = checkBox(tr("_ShowMessagePreview"), notifications);
    notificationsOff = checkBox(tr("_NotifDeactive"), notifications);

    scrollLayout->addWidget(sectionTitle(tr("_AutomaticDownload")));
    QVBoxLayout* downloads = indentedColumn();
    photo = checkBox(tr("_Photo"), downloads);
    video = checkBox(tr("_Video"), downloads);
    file = checkBox(tr("_File"), downloads);

    scrollLayout->addWidget(sectionTitle(tr("_chatSetting")));
    buildSendKeyRows(indentedColumn());

    buildScaleRows();
    buildBackgroundGrid();

    scrollLayout->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Fixed, QSizePolicy::Expanding));
    scrollLayout->addSpacerItem(new QSpacerItem(1, 4, QSizePolicy::Fixed, QSizePolicy::Fixed));
    connect(userProfile, &UserProfile::command, this, &Setting::command);
}

void Setting::buildHeader(QVBoxLayout* layout)
{
    auto* header = row();
    title = new QLabel(tr("_Setting"), this);
    title->setContentsMargins(0, 2, 10, 2);
    title->setFont(Fonts::getFont(scaleValue(30)));
    const int closeSide = scaleValue(30);
    close = new IconButton(QSize(scaleValue(25), scaleValue(25)),
                           QStringLiteral(":/Images/ic_close.png"), this);
    close->setFixedSize(closeSide, closeSide);
    close->setAlignment(Qt::AlignCenter);
    close->setObjectName(QStringLiteral("SettingCloseIcon"));
    close->setAccessibleName(tr("_CloseSettings"));
    close->setStyleSheet(QStringLiteral("border-radius:%1px;").arg(closeSide / 2));
    connect(close, &IconButton::onClick, this, &Setting::closeSetting);
    header->addWidget(title);
    addStretch(header);
    header->addWidget(close);
    layout->addLayout(header);
}

void Setting::buildProfileRow()
{
    auto* profileRow = row();
    avatar = new AvatarViewer(scrollWidget);
    const int side = scaleValue(80);
    avatar->setAvatarSize(QSize(side, side));
    avatar->setFixedSize(side, side);
    avatar->setStyleSheet(QStringLiteral("border-radius:%1px;").arg(side / 2));
    auto* lines = new QVBoxLayout;
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    nickname = plainLabel(scrollWidget);
    motto = plainLabel(scrollWidget);
    number = plainLabel(scrollWidget);
    for (QLabel* label : {nickname, motto, number}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        lines->addWidget(label);
    }
    edit = new FlatButton(tr("_Edit"), scrollWidget);
    edit->setObjectName(QStringLiteral("SettingEditButton"));
    edit->setFont(Fonts::getFont(baseFontSize));
    edit->setContentsMargins(5, 2, 5, 2);
    edit->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    connect(edit, &FlatButton::onClick, this, &Setting::profileEditPressed);
    profileRow->addWidget(avatar);
    profileRow->addLayout(lines);
    addStretch(profileRow);
    profileRow->addWidget(edit);
    scrollLayout->addLayout(profileRow);
}

void Setting::buildSendKeyRows(QVBoxLayout* column)
{
    // One parent, so the two radios exclude each other.
    auto* radios = new QWidget(scrollWidget);
    auto* radiosLayout = new QVBoxLayout(radios);
    radiosLayout->setContentsMargins(0, 0, 0, 0);
    const QString indicator = QStringLiteral("QRadioButton::indicator {width:%1px;height:%2px;}")
                                  .arg(baseFontSize)
                                  .arg(baseFontSize);
    QRadioButton** buttons[] = {&sendByEnter, &sendByShiftEnter};
    const QString texts[] = {tr("_SendbyEnter"), tr("_SendbyShiftEnter")};
    for (int i = 0; i < 2; ++i) {
        auto* line = row();
        *buttons[i] = new QRadioButton(radios);
        (*buttons[i])->setAccessibleName(texts[i]);
        (*buttons[i])->setStyleSheet(indicator);
        QLabel* label = plainLabel(radios);
        label->setText(texts[i]);
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        line->addWidget(*buttons[i]);
        line->addWidget(label);
        addStretch(line);
        radiosLayout->addLayout(line);
    }
    column->addWidget(radios);
}

void Setting::buildScaleRows()
{
    scrollLayout->addWidget(sectionTitle(tr("_InterfaceScale")));
    auto* autoRow = row(0);
    autoRow->setContentsMargins(0, 0, 30, 0);
    autoScale = new QCheckBox(tr("_AutoScaleStr"), scrollWidget);
    autoScale->setFont(Fonts::getFont(baseFontSize));
    autoScale->setStyleSheet(QStringLiteral("QCheckBox::indicator {width:%1px;height:%2px;}")
                                 .arg(baseFontSize)
                                 .arg(baseFontSize));
    autoRow->addWidget(autoScale);
    addStretch(autoRow);
    scrollLayout->addLayout(autoRow);

    auto* buttonRow = row(3);
    buttonRow->setContentsMargins(0, 0, 30, 0);
    for (int step : scaleSteps) {
        auto* button = new FlatButton(QString::number(step) + QLatin1Char('%'), scrollWidget);
        button->setFont(Fonts::getFont(baseFontSize));
        button->setMinimumWidth(scaleValue(60));
        button->setAlignment(Qt::AlignCenter);
        button->setObjectName(step == 100 ? QStringLiteral("ScaleButtonSelected")
                                          : QStringLiteral("ScaleButtonUnSelected"));
        connect(button, &FlatButton::onClick, this, &Setting::scaleButtomsClicked);
        scaleButtons.append(button);
        buttonRow->addWidget(button);
    }
    addStretch(buttonRow);
    scrollLayout->addLayout(buttonRow);
}

void Setting::buildBackgroundGrid()
{
    scrollLayout->addWidget(sectionTitle(tr("_SelectBackground")));
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 30, 0);
    const QStringList paths = backgroundPaths();
    for (int i = 0; i <= paths.size(); ++i) {
        auto* tile = new ImageViewer(scrollWidget, true, false);
        tile->setFixedSize(tileSide, tileSide);
        tile->setImageSize(QSize(tileSide, tileSide));
        if (i == 0) {
            tile->setId(defaultId);
            tile->setImagePath(defaultBackground);
            defaultTile = tile;
        } else {
            const QString base = backgroundHost() + paths.at(i - 1);
            tile->setId(base + QStringLiteral(".jpg?"));
            tile->downloadImage(base + QStringLiteral(".thumbnail.jpg?"));
        }
        connect(tile, &ImageViewer::imageSelected, this, &Setting::backgroundSelect);
        tiles.append(tile);
        grid->addWidget(tile, i / 3, i % 3);
    }
    auto* gridRow = row();
    gridRow->addLayout(grid);
    addStretch(gridRow);
    scrollLayout->addLayout(gridRow);
}

QLabel* Setting::sectionTitle(const QString& text)
{
    QLabel* label = plainLabel(scrollWidget);
    label->setText(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    return label;
}

QVBoxLayout* Setting::indentedColumn()
{
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 30, 0);
    scrollLayout->addLayout(column);
    return column;
}

QCheckBox* Setting::checkBox(const QString& text, QVBoxLayout* column)
{
    auto* box = new QCheckBox(text, scrollWidget);
    box->setFont(Fonts::getFont(baseFontSize));
    box->setStyleSheet(QStringLiteral("QCheckBox::indicator {width:%1px;height:%2px;}")
                           .arg(baseFontSize)
                           .arg(baseFontSize));
    column->addWidget(box);
    return box;
}

void Setting::loadSettings()
{
    const MainSettings settings = GlobalConstants::getMainSettings();
    photo->setChecked(settings.getAutoDownloadImages());
    video->setChecked(settings.getAutoDownloadVideos());
    file->setChecked(settings.getAutoDownloadFiles());
    showPreview->setChecked(settings.getNotificationPreviewEnabled());
    notificationsOff->setChecked(!settings.getNotificationsEnabled());
    if (settings.getSendKey() == MainSettings::Enter) {
        sendByEnter->setChecked(true);
    } else if (settings.getSendKey() == MainSettings::ShiftEnter) {
        sendByShiftEnter->setChecked(true);
    }
    const int scale = settings.getInterfaceScaleFactor();
    // Filled without a warning: only the user's own clicks ask for a restart.
    const bool blocked = autoScale->blockSignals(true);
    autoScale->setChecked(scale == 0);
    autoScale->blockSignals(blocked);
    selectScaleButton(scale == 0 ? dpiScalePercent() : scale);
    appliedScale = QString::number(scale);
    if (!autoScaleConnected) {
        connect(autoScale, &QCheckBox::stateChanged, this, &Setting::autoScaleClicked);
        autoScaleConnected = true;
    }
    const QString stored = settings.getChatBackgroundPath();
    for (ImageViewer* tile : tiles) {
        // The built-in background is stored by its resource path.
        const bool match =
            tile->getId() == stored || (tile == defaultTile && stored == defaultBackground);
        tile->setSelected(match);
    }
}

void Setting::aboutToClose()
{
    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setAutoDownloadFiles(file->isChecked());
    settings.setAutoDownloadImages(photo->isChecked());
    settings.setAutoDownloadVideos(video->isChecked());
    settings.setNotificationsEnabled(!notificationsOff->isChecked());
    settings.setNotificationPreviewEnabled(showPreview->isChecked());
    settings.setInterfaceScaleFactor(autoScale->isChecked() ? 0 : appliedScale.toInt());
    if (sendByEnter->isChecked())
        settings.setSendKey(MainSettings::Enter);
    else if (sendByShiftEnter->isChecked())
        settings.setSendKey(MainSettings::ShiftEnter);
    if (chosenBackground == defaultId)
        settings.setChatBackgroundPath(defaultBackground);
    else if (!chosenBackground.isEmpty())
        settings.setChatBackgroundPath(chosenBackground);
    // The GUI's copy is replaced under its lock; the core gets a copy of its
    // own inside the request, so no object is shared between the threads.
    GlobalConstants::setMainSettings(settings);
    emit command(CMD_SaveMainSettings, QVariant::fromValue(settings));
}

void Setting::closeSetting()
{
    if (isHidden())
        aboutToClose();
    else
        hide();
}

void Setting::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Only a real hide of a shown screen saves, not one of a hidden parent.
    if (!event->spontaneous())
        aboutToClose();
}

void Setting::setProfile(const Contact& c)
{
    nickname->setText(c.getProfile().getNickName());
    motto->setText(c.getProfile().getMotto());
    number->setText(PhoneText::number(c.getNumber()));
    avatar->setAvatarId(c.getNumber());
    avatar->downloadAvatar(c.getAvatarThumbnailUrl());
    avatar->setFixedSize(scaleValue(80), scaleValue(80));
    userProfile->setProfileData(c);
}

void Setting::profileEditPressed()
{
    dialogManager->showDialog(userProfile);
}

void Setting::backgroundSelect(const QString& imageID)
{
    if (imageID.isEmpty()) {
        // The marked tile was clicked again: back to the built-in picture,
        // which is then also what is saved.
        chosenBackground = defaultId;
        defaultTile->setSelected(true);
        emit backgroundChanged(defaultId);
        return;
    }
    chosenBackground = imageID;
    emit backgroundChanged(imageID);
    for (ImageViewer* tile : tiles) {
        if (tile->getId() != imageID)
            tile->setSelected(false);
    }
}

void Setting::selectScaleButton(int scale)
{
    const QString text = QString::number(scale) + QLatin1Char('%');
    for (FlatButton* button : scaleButtons) {
        button->setObjectName(button->text() == text ? QStringLiteral("ScaleButtonSelected")
                                                     : QStringLiteral("ScaleButtonUnSelected"));
        // Matched against the application sheet again under the new name.
        button->setStyleSheet(QString());
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}

void Setting::scaleButtomsClicked()
{
    L_DEBUG(QStringLiteral("Setting::scaleButtomsClicked"));
    auto* button = qobject_cast<FlatButton*>(sender());
    if (!button || button->text() == appliedScale + QLatin1Char('%'))
        return;
    const bool blocked = autoScale->blockSignals(true);
    autoScale->setChecked(false);
    autoScale->blockSignals(blocked);
    for (int step : scaleSteps) {
        if (button->text() == QString::number(step) + QLatin1Char('%'))
            pendingScale = QString::number(step);
    }
    askForRestart();
    selectScaleButton(pendingScale.toInt());
}

void Setting::autoScaleClicked(int s)
{
    if (s == 0)
        return;
    selectScaleButton(dpiScalePercent());
    pendingScale = QStringLiteral("0");
    if (appliedScale != QLatin1String("0"))
        askForRestart();
}

void Setting::askForRestart()
{
    PopUpWarning::showWarning(tr("_ScaleNeedtoReset"), scaleApplicator, false, 0);
    connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
            &Setting::InterfaceScaleResponse, Qt::UniqueConnection);
    dialogManager->showDialog(PopUpWarning::getInstance());
}

void Setting::InterfaceScaleResponse(PopUpWarning::response rsp, const QString& applicator)
{
    L_DEBUG(QStringLiteral("Setting::InterfaceScaleResponse"));
    if (applicator != scaleApplicator)
        return;
    disconnect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
               &Setting::InterfaceScaleResponse);
    if (rsp == PopUpWarning::yes) {
        appliedScale = pendingScale;
        aboutToClose();
        QTimer::singleShot(100, this, &Setting::restartApp);
        return;
    }
    if (appliedScale == QLatin1String("0")) {
        autoScale->setChecked(true);
        selectScaleButton(dpiScalePercent());
        return;
    }
    if (pendingScale == QLatin1String("0")) {
        const bool blocked = autoScale->blockSignals(true);
        autoScale->setChecked(false);
        autoScale->blockSignals(blocked);
    }
    selectScaleButton(appliedScale.toInt());
}

void Setting::restartApp()
{
    if (restartAction)
        restartAction();
    else
        ProgramRestart::restart();
}

void Setting::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
