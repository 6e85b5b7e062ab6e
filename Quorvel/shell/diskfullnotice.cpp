#include "shell/diskfullnotice.h"

#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

DiskFullNotice::DiskFullNotice(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("DiskFullNotice"));
    setText(tr("_newMessagesWaitForDiskSpace"));
    setAccessibleName(text());
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setFont(Fonts::getFont(baseFontSize));
    setContentsMargins(scaleValue(12), scaleValue(6), scaleValue(12), scaleValue(6));
    // Its own colours: the notice must stand out from any theme's panels.
    setStyleSheet(QStringLiteral("QLabel#DiskFullNotice { background: #fdecea; color: #8a1c12; "
                                 "border-bottom: 1px solid #e0b4ae; }"));
    hide();
}

void DiskFullNotice::setWaiting(bool waiting)
{
    setVisible(waiting);
    if (waiting)
        raise();
}

void DiskFullNotice::place(int top, int width)
{
    setGeometry(0, top, width, heightForWidth(width));
}
