#ifndef INTERFACESCALE_H
#define INTERFACESCALE_H

#include <QSize>

// The process-wide interface scale and the sizes every screen reads when it is
// built. The scaled metrics hold their base value until initInterfaceScale()
// runs; from then on they hold base x factor, truncated toward zero.
extern double interfaceScaleFactor;

// Scaled metrics.
extern int baseFontSize;
extern int topBarHeight;
extern int tabIconSize;
extern int listRowHeight;
extern int listAvatarSize;
extern int chatRowHeight;
extern int chatRowAvatarSize;

// Fixed metrics.
extern int wideLayoutWidth;
extern int searchIconSize;
extern int checkIconSize;
extern int checkFontSize;
extern int formFontPointSize;
extern int formIconSize;
extern int avatarCropSize;
extern int avatarPreviewSize;
extern int profilePanelAvatarSize;
extern int groupProfileAvatarSize;
extern int channelRowHeight;
extern int channelRowAvatarSize;
extern int memberRowSize;
extern int messageMaxWidth;
extern int inputMaxHeight;
extern int chatWindowBarHeight;
extern int editChannelTopMargin;
extern int editChannelSideMargin;
extern int editChannelLeftMargin;
extern int profileRightMargin;
extern int panelMargin;
extern int rowRightMargin;
extern int rowTopMargin;
extern int rowIconMargin;
extern int ownerRowRightMargin;
extern int ownerRowTopMargin;
extern int pollMargin;

int scaleValue(int value);
QSize scaleSize(const QSize& size);

// The factor the primary screen's logical DPI calls for (1.0 without a screen).
double dpiScaleFactor();
double dpiScaleFactorFor(double logicalDpi);
int dpiScalePercent();

// Reads the user's scale percentage (0 is automatic) and sets the factor and
// the metrics. Running it again recomputes from the base values, so the
// metrics are never scaled twice.
void initInterfaceScale();
// The same with an explicit percentage and screen DPI.
void initInterfaceScaleWith(int percent, double logicalDpi);
void initInterfaceMetrics();

#endif // INTERFACESCALE_H
