#ifndef POPUPMANAGER_H
#define POPUPMANAGER_H

#include <QPointer>
#include <QWidget>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

// The main window's modal layer: a translucent backdrop over the whole main
// window hosting one popup at a time, centred. A hosted popup is never owned
// by the layer: when it hides, or the layer goes away, it goes back to the
// parent it had (or to none) and stays with its owner.
class PopupManager : public QWidget
{
    Q_OBJECT
public:
    static void setMainWindow(QWidget* window);
    static QWidget* getMainWindow();
    // Does nothing while no main window is set.
    static void showWindow(QWidget* window, bool closeOnClick = true);
    static void resizeToMainWindow();
    static void deleteInstance();
    // The layer, or null before its first use.
    static PopupManager* existingInstance();

    QWidget* getActivePopup() const { return activePopup; }
    ~PopupManager() override;

public slots:
    void showAnimationEnd();
    void closeWindow();

private slots:
    void popupDestroyed(QObject* popup);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit PopupManager(QWidget* parent);
    static PopupManager* instanceForMainWindow();
    void setActiveWindow(QWidget* window);
    void arrangeActivePopup();
    void releaseActivePopup();
    // What a click on the backdrop does: the popup goes.
    void dismiss();

    // Hands a popup leaving the layer back to the parent it came with (none
    // for a popup that had none), so a screen of the main window stays its
    // child and is deleted with it.
    void sendHome(QWidget* popup);

    QPointer<QWidget> activePopup;
    QPointer<QWidget> activeHome;
    QPropertyAnimation* fade;
    QGraphicsOpacityEffect* effect;
    bool closeOnClick = true;

    static QPointer<PopupManager> instance;
    static QPointer<QWidget> mainWindow;
};

#endif // POPUPMANAGER_H
