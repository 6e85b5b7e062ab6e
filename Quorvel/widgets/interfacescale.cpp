#include "widgets/interfacescale.h"

#include "model/globalconstants.h"
#include "model/mainsettings.h"

#include <QGuiApplication>
#include <QScreen>

double interfaceScaleFactor = 1.0;

namespace {
// Base values of the scaled metrics; the globals below start equal to them.
constexpr int BaseFontSize = 20;
constexpr int TopBarHeight = 40;
constexpr int TabIconSize = 30;
constexpr int ListRowHeight = 60;
constexpr int ListAvatarSize = 50;
constexpr int ChatRowHeight = 60;
constexpr int ChatRowAvatarSize = 50;
} // namespace

int baseFontSize = BaseFontSize;
int topBarHeight = TopBarHeight;
int tabIconSize = TabIconSize;
int listRowHeight = ListRowHeight;
int listAvatarSize = ListAvatarSize;
int chatRowHeight = ChatRowHeight;
int chatRowAvatarSize = ChatRowAvatarSize;

int wideLayoutWidth = 512;
int searchIconSize = 32;
int checkIconSize = 15;
int checkFontSize = 20;
int formFontPointSize = 12;
int formIconSize = 32;
int avatarCropSize = 156;
int avatarPreviewSize = 80;
int profilePanelAvatarSize = 100;
int groupProfileAvatarSize = 100;
int channelRowHeight = 60;
int channelRowAvatarSize = 50;
int memberRowSize = 50;
int messageMaxWidth = 300;
int inputMaxHeight = 200;
int chatWindowBarHeight = 50;
int editChannelTopMargin = 20;
int editChannelSideMargin = 60;
int editChannelLeftMargin = 10;
int profileRightMargin = 20;
int panelMargin = 10;
int rowRightMargin = 10;
int rowTopMargin = 10;
int rowIconMargin = 10;
int ownerRowRightMargin = 10;
int ownerRowTopMargin = 10;
int pollMargin = 10;

int scaleValue(int value)
{
    // A C++ cast truncates toward zero, also for negative values.
    return static_cast<int>(value * interfaceScaleFactor);
}

QSize scaleSize(const QSize& size)
{
    return QSize(scaleValue(size.width()), scaleValue(size.height()));
}

double dpiScaleFactorFor(double dpi)
{
    if (dpi <= 96)
        return 1.0;
    if (dpi <= 120)
        return 1.25;
    if (dpi <= 144)
        return 1.5;
    if (dpi <= 168)
        return 1.75;
    return 2.0;
}

double dpiScaleFactor()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? dpiScaleFactorFor(screen->logicalDotsPerInch()) : 1.0;
}

int dpiScalePercent()
{
    return static_cast<int>(dpiScaleFactor() * 100);
}

void initInterfaceMetrics()
{
    // The fixed metrics keep the values they are defined with.
    // Scaled from their base values, never from their current ones, so a
    // second run gives the same sizes.
    baseFontSize = scaleValue(BaseFontSize);
    topBarHeight = scaleValue(TopBarHeight);
    tabIconSize = scaleValue(TabIconSize);
    listRowHeight = scaleValue(ListRowHeight);
    listAvatarSize = scaleValue(ListAvatarSize);
    chatRowHeight = scaleValue(ChatRowHeight);
    chatRowAvatarSize = scaleValue(ChatRowAvatarSize);
}

void initInterfaceScaleWith(int percent, double logicalDpi)
{
    interfaceScaleFactor = percent != 0 ? percent / 100.0 : dpiScaleFactorFor(logicalDpi);
    initInterfaceMetrics();
}

void initInterfaceScale()
{
    const int percent = GlobalConstants::getMainSettings().getInterfaceScaleFactor();
    if (percent != 0) {
        initInterfaceScaleWith(percent, 0);
        return;
    }
    interfaceScaleFactor = dpiScaleFactor();
    initInterfaceMetrics();
}
