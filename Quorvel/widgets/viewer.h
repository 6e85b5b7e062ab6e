#ifndef VIEWER_H
#define VIEWER_H

#include "widgets/transparentfullscreenwidget.h"

#include <QPointer>

class QLabel;

// One picture, or a widget such as an avatar, full screen over a dimmed
// background. Closing only hides it, so it is reused.
class Viewer : public TransparentFullScreenWidget
{
    Q_OBJECT
public:
    static Viewer* getInstance();
    static void deleteInstance();

    void showOver(QWidget* widget);
    QLabel* imageLabel() const { return image; }
    // The size a picture is shown at: its own when it fits, else scaled
    // into the viewer keeping its proportions.
    static QSize targetSize(const QSize& picture, const QSize& viewer);

public slots:
    void showImage(const QString& filePath);
    void onClosed();
    void centralWidgetresized(QWidget* centralWidget);

private:
    Viewer();

    QLabel* image;
    static QPointer<Viewer> instance;
};

#endif // VIEWER_H
