#include "kitgallery.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/avatarviewer.h"
#include "widgets/checkbox.h"
#include "widgets/customlineedit.h"
#include "widgets/dateconverter.h"
#include "widgets/doublestatebutton.h"
#include "widgets/elidedlabel.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/htmlcontainer.h"
#include "widgets/iconbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/interfacescale.h"
#include "widgets/label.h"
#include "widgets/notificationmanager.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"
#include "widgets/popupwindow.h"
#include "widgets/progresscircle.h"
#include "widgets/radiobutton.h"
#include "widgets/searchbar.h"
#include "widgets/toastmessage.h"
#include "widgets/transparentframe.h"
#include "widgets/waitingspinnerwidget.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTranslator>
#include <QVBoxLayout>

namespace {
QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(Fonts::getFont(baseFontSize));
    return label;
}
} // namespace

void KitGallery::prepareApplication()
{
    QFile sheet(QStringLiteral(":/Style/QuorvelDefaultStyle.css"));
    if (sheet.open(QIODevice::ReadOnly)) {
        qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
    } else {
        // Enough of the program's look to tell the layers apart.
        L_WARN(QStringLiteral("KitGallery | no style sheet, using the gallery's own"));
        qApp->setStyleSheet(QStringLiteral(
            "#PopupWindowTransparentArea{background-color: rgba(0,0,0,70%);}"
            "PopUpWarning{background-color: white; border-radius: 3px;}"
            "#ChatWidgetUnreadMessageNumber{background-color: #aa3063; color: white;}"
            "#GalleryFlatButton{background-color: #00a693; color: white; border-radius: 4px;}"
            "#PopupWindowTitleFrame{background-color: #00a693; border-top-left-radius: 5px;"
            " border-top-right-radius: 5px;}"
            "#PopupWindowTitleString{color: white;}"
            "#PopupWindowBoard{background-color: white;}"
            "#NotificationWidget{background-color: white; border-radius: 5px;}"));
    }
    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral(":/Lng/quorvel_persian.qm")))
        QCoreApplication::installTranslator(translator);
    else
        L_WARN(QStringLiteral("KitGallery | no Persian catalogue"));
    QApplication::setFont(Fonts::getFont(baseFontSize));
}

KitGallery::KitGallery(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("KitGallery"));
    setWindowTitle(QStringLiteral("Quorvel kit gallery"));
    auto* sides = new QHBoxLayout(this);
    sides->setSizeConstraint(QLayout::SetMinimumSize);
    for (int i = 0; i < 2; ++i) {
        columns.append(new QWidget(this));
        sides->addWidget(columns.last(), 0, Qt::AlignTop);
    }
    grid = new QGridLayout(columns.at(0));
    setUpGrid();
    buildLabels();
    buildButtons();
    buildChecks();
    buildBusy();
    buildDates();
    startSecondColumn();
    buildTextViews();
    buildAvatars();
    buildProgress();
    buildPopupHosts();
    buildFramedPopups();
    grid->setRowStretch(rows, 1);
}

void KitGallery::addRow(const QString& text, QWidget* content)
{
    QWidget* owner = grid->parentWidget();
    content->setParent(owner);
    grid->addWidget(caption(text, owner), rows, 0, Qt::AlignTop);
    grid->addWidget(content, rows, 1, Qt::AlignTop);
    ++rows;
}

QList<QWidget*> KitGallery::columnWidgets() const
{
    return columns;
}

void KitGallery::showToast()
{
    ToastMessage::getInstance()->showMessage(QStringLiteral("بارگذاری فایل ناموفق بود"));
}

void KitGallery::startSecondColumn()
{
    grid->setRowStretch(rows, 1);
    grid = new QGridLayout(columns.at(1));
    rows = 0;
    setUpGrid();
}

void KitGallery::setUpGrid()
{
    grid->setHorizontalSpacing(scaleValue(16));
    grid->setVerticalSpacing(scaleValue(8));
}

QWidget* KitGallery::row(std::initializer_list<QWidget*> widgets)
{
    auto* holder = new QWidget(this);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(scaleValue(12));
    for (QWidget* w : widgets)
        layout->addWidget(w, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    return holder;
}

void KitGallery::buildLabels()
{
    auto* clickable = new Label(this);
    clickable->setText(QStringLiteral("برچسب کلیک‌پذیر"));
    auto* empty = new CustomLineEdit(QStringLiteral("نام و نام خانوادگی"), this);
    empty->setObjectName(QStringLiteral("GalleryLineEdit"));
    auto* filled = new CustomLineEdit(QStringLiteral("شماره تلفن همراه"), this);
    filled->setText(QStringLiteral("مریم رضایی"));
    for (CustomLineEdit* edit : {empty, filled}) {
        edit->setFont(Fonts::getFont(baseFontSize));
        edit->setMinimumWidth(scaleValue(170));
    }
    addRow(QStringLiteral("برچسب و ورودی"), row({clickable, empty, filled}));
}

void KitGallery::buildButtons()
{
    auto* flat = new FlatButton(QStringLiteral("ارسال پیام"), this);
    flat->setObjectName(QStringLiteral("GalleryFlatButton"));
    flat->setContentsMargins(scaleValue(12), scaleValue(4), scaleValue(12), scaleValue(4));
    auto* remoteName = new FlatButton(QStringLiteral("<b>نام از راه دور</b>"), this);
    auto* icon = new IconButton(QSize(scaleValue(32), scaleValue(32)),
                                QStringLiteral(":/Images/ic_search.png"), this);
    icon->setFixedSize(scaleValue(32), scaleValue(32));

    QList<QWidget*> badges;
    for (int count : {0, -3, 7, 42, 150}) {
        auto* badge = new IconButtonUnreadCount(QSize(tabIconSize, tabIconSize),
                                                QStringLiteral(":/Images/ic_chat.png"), this);
        badge->setFixedSize(tabIconSize + scaleValue(24), tabIconSize + scaleValue(6));
        badge->setUnreadCount(count);
        badges.append(badge);
    }
    auto* toggleOn = new DoubleStateButton(this);
    toggleOn->setImages(QStringLiteral("galleryToggleOn"), QStringLiteral(":/Images/ic_mute.png"),
                        QStringLiteral("galleryToggleOff"),
                        QStringLiteral(":/Images/ic_unmute.png"),
                        QSize(scaleValue(28), scaleValue(28)));
    toggleOn->setState(true);
    auto* toggleOff = new DoubleStateButton(this);
    toggleOff->setImages(QStringLiteral("galleryToggleOn"), QStringLiteral(":/Images/ic_mute.png"),
                         QStringLiteral("galleryToggleOff"),
                         QStringLiteral(":/Images/ic_unmute.png"),
                         QSize(scaleValue(28), scaleValue(28)));
    toggleOff->setState(false);

    addRow(QStringLiteral("دکمه‌ها"), row({flat, remoteName, icon, toggleOn, toggleOff}));
    auto* badgeRow = new QWidget(this);
    auto* layout = new QHBoxLayout(badgeRow);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* badge : qAsConst(badges))
        layout->addWidget(badge);
    layout->addStretch(1);
    addRow(
        QStringLiteral("شمارش خوانده‌نشده (۰، منفی، ۷، ۴۲، ۱۵۰)"),
        badgeRow);
}

void KitGallery::buildChecks()
{
    auto* off = new CheckBox(QStringLiteral("ارسال با کلید Enter"), this);
    auto* on = new CheckBox(QStringLiteral("نمایش اعلان‌ها"), this);
    on->setChecked(true);
    auto* disabledOn =
        new CheckBox(QStringLiteral("غیرفعال و انتخاب‌شده"), this);
    disabledOn->setEnabled(false);
    disabledOn->setChecked(true);
    auto* linked = new CheckBox(
        QStringLiteral("<a href=\"terms\">قوانین</a> را می‌پذیرم"), this);
    addRow(QStringLiteral("جعبه انتخاب"), row({off, on, disabledOn, linked}));

    auto* first = new RadioButton(this);
    first->setText(QStringLiteral("گزینه نخست"));
    first->setSelected(true);
    auto* second = new RadioButton(this);
    second->setText(QStringLiteral("گزینه دوم"));
    auto* disabled = new RadioButton(this);
    disabled->setText(QStringLiteral("غیرفعال"));
    disabled->setEnabled(false);
    disabled->setSelected(false);
    addRow(QStringLiteral("دکمه رادیویی"), row({first, second, disabled}));
}

void KitGallery::buildBusy()
{
    auto* holder = new QWidget(this);
    holder->setFixedSize(scaleValue(50), scaleValue(50));
    auto* spinner = new WaitingSpinnerWidget(holder, true, false);
    spinner->setLineColor(QColor("#aa3063"));
    spinner->setRingRadius(scaleValue(10));
    spinner->setBarLength(scaleValue(8));
    spinner->setLineThickness(scaleValue(3));
    spinner->start();
    auto* twelve = new QWidget(this);
    twelve->setFixedSize(scaleValue(50), scaleValue(50));
    auto* other = new WaitingSpinnerWidget(twelve, true, false);
    other->setLineCount(12);
    other->setTrailFade(70);
    other->setRingRadius(scaleValue(6));
    other->setBarLength(scaleValue(12));
    other->setLineThickness(scaleValue(4));
    other->start();
    // A stand-in for the bottom of the main window, where toasts show.
    auto* toastStage = stage(QSize(scaleValue(320), scaleValue(100)));
    ToastMessage::setMainWindow(toastStage);
    showToast();
    addRow(QStringLiteral("انتظار و پیام کوتاه"), row({holder, twelve, toastStage}));
}

void KitGallery::buildDates()
{
    DateConverter dates;
    const QDateTime now(QDate(2025, 3, 21), QTime(15, 30));
    QStringList lines;
    lines << dates.jalaliDateText(QDate(2025, 3, 21))
          << dates.jalaliShortDateText(QDateTime(QDate(2021, 3, 20), QTime(12, 0)))
          << dates.chatListTime(now.addSecs(-3600), now) << dates.chatListTime(now.addDays(-1), now)
          << dates.chatListTime(now.addDays(-3), now) << dates.lastSeenText(now.addSecs(-30), now)
          << dates.lastSeenText(now.addSecs(-600), now)
          << dates.lastSeenText(now.addSecs(-7200), now);
    auto* label = new QLabel(lines.mid(0, 3).join(QStringLiteral("  •  ")) + QLatin1Char('\n') +
                                 lines.mid(3, 2).join(QStringLiteral("  •  ")) + QLatin1Char('\n') +
                                 lines.mid(5).join(QStringLiteral("  •  ")),
                             this);
    label->setTextFormat(Qt::PlainText);
    QFont digits = Fonts::getInstance()->persianDigits;
    digits.setPixelSize(scaleValue(14));
    label->setFont(digits);
    addRow(QStringLiteral("تاریخ‌ها"), label);
}

QWidget* KitGallery::stage(const QSize& size)
{
    auto* stage = new QWidget(this);
    stage->setFixedSize(size);
    stage->setAutoFillBackground(true);
    QPalette palette = stage->palette();
    palette.setColor(QPalette::Window, QColor("#dfe7ef"));
    stage->setPalette(palette);
    return stage;
}

void KitGallery::buildPopupHosts()
{
    // A small stand-in for the main window hosting the warning.
    QWidget* window = stage(QSize(scaleValue(440), scaleValue(180)));
    auto* behind = new QLabel(QStringLiteral("محتوای پنجره اصلی پشت پنجره هشدار"), window);
    behind->move(scaleValue(10), scaleValue(10));
    PopupManager::setMainWindow(window);
    PopUpWarning::showWarning(
        QStringLiteral(
            "آیا می‌خواهید از حساب کاربری خود خارج شوید؟"),
        QStringLiteral("Logout"), true, 0);
    addRow(QStringLiteral("پنجره هشدار"), window);
}

void KitGallery::buildTextViews()
{
    auto* search = new SearchBar(this);
    search->setFixedWidth(scaleValue(240));
    auto* searching = new SearchBar(this);
    searching->setFixedWidth(scaleValue(240));
    searching->getInput()->setText(QStringLiteral("علی"));
    addRow(QStringLiteral("جستجو"), row({search, searching}));

    auto* name = new ElidedLabel(this);
    name->setFont(Fonts::getFont(baseFontSize));
    name->setFixedWidth(scaleValue(200));
    name->setText(QStringLiteral("گروه دوستان دوران دبیرستان و دانشگاه تهران"));
    auto* picture = new QLabel(this);
    picture->setFixedSize(scaleValue(160), scaleValue(60));
    picture->setStyleSheet(QStringLiteral("background-color: #5b7c99;"));
    auto* caption = new TransparentFrame(picture);
    caption->setGeometry(scaleValue(6), scaleValue(6), scaleValue(150), scaleValue(30));
    caption->setText(QStringLiteral("۲٫۵ مگابایت"));
    addRow(QStringLiteral("نام بریده و زیرنویس"), row({name, picture}));

    auto* bubble = new HtmlContainer(this);
    bubble->setHtml(QStringLiteral("<p dir=\"rtl\">سلام! این یک <a href=\"https://example.org\">"
                                   "پیوند</a> در متن پیام است.</p>"));
    bubble->setFixedSize(scaleValue(300), scaleValue(56));
    addRow(QStringLiteral("متن پیام"), bubble);
}

void KitGallery::buildAvatars()
{
    const QSize side(listAvatarSize, listAvatarSize);
    auto avatar = [this, side](int kind, const QString& id) {
        auto* viewer = new AvatarViewer(this);
        viewer->setFixedSize(side);
        viewer->setAvatarSize(side);
        viewer->setAvatarType(kind);
        viewer->setAvatarId(id);
        return viewer;
    };
    AvatarViewer* person = avatar(AvatarViewer::Person, QStringLiteral("989121234567"));
    AvatarViewer* group = avatar(AvatarViewer::Group, QStringLiteral("group-17"));
    AvatarViewer* channel = avatar(AvatarViewer::Channel, QStringLiteral("news"));
    AvatarViewer* photo = avatar(AvatarViewer::Person, QStringLiteral("u2"));
    QImage wide(120, 80, QImage::Format_ARGB32);
    wide.fill(QColor("#f2c14e"));
    QPainter painter(&wide);
    painter.setBrush(QColor("#2d6a4f"));
    painter.drawEllipse(QPoint(60, 40), 22, 22);
    painter.end();
    photo->imageReady(wide);
    AvatarViewer* checked = avatar(AvatarViewer::Person, QStringLiteral("u3"));
    checked->setCheckable(true);
    checked->setChecked(true);
    addRow(QStringLiteral("تصویر کاربر"), row({person, group, channel, photo, checked}));
}

void KitGallery::buildProgress()
{
    auto circle = [this](int state, int uploadMode, int value) {
        auto* progress = new ProgressCircle(this);
        progress->setState(state);
        progress->setUploadMode(uploadMode);
        progress->setValue(value);
        return progress;
    };
    auto* holder = row({circle(2, 0, 0), circle(2, 1, 0), circle(2, 0, 35), circle(5, 0, 70),
                        circle(2, 0, 100), circle(3, 0, 100), circle(1, 0, 100)});
    holder->setObjectName(QStringLiteral("GalleryProgress"));
    holder->setStyleSheet(QStringLiteral("#GalleryProgress{background-color: #5b7c99;}"));
    holder->setAttribute(Qt::WA_StyledBackground);
    addRow(QStringLiteral("پیشرفت انتقال"), holder);
}

void KitGallery::buildFramedPopups()
{
    QWidget* window = stage(QSize(scaleValue(440), scaleValue(170)));
    window->setLayoutDirection(Qt::RightToLeft);
    auto* framed = new PopupWindow(window);
    framed->setTitle(QStringLiteral("دسته‌بندی کانال‌ها"));
    framed->setBackButtonIcon(QStringLiteral(":/Images/ic_arrow_back_white.png"));
    framed->getWindow()->resize(scaleValue(300), scaleValue(130));
    auto* list = new QVBoxLayout(framed->getBoard());
    for (const QString& entry : {QStringLiteral("ورزشی"), QStringLiteral("خبری")})
        list->addWidget(new QLabel(entry, framed->getBoard()));
    framed->fitToParent();
    framed->show();
    addRow(QStringLiteral("پنجره قاب‌دار"), window);

    QWidget* top = stage(QSize(scaleValue(440), scaleValue(80)));
    auto* strip = new NotificationManager(top);
    strip->addNotification({QStringLiteral("مریم"),
                            QStringLiteral("سلام، امروز می‌آیی؟"), QString(),
                            QStringLiteral("u9"), 1});
    addRow(QStringLiteral("اعلان درون پنجره"), top);
}
