#ifndef TOASTMESSAGE_H
#define TOASTMESSAGE_H

#include <QPointer>
#include <QWidget>

class QFrame;
class QGraphicsOpacityEffect;
class QLabel;
class QPropertyAnimation;
class QTimer;

// One line of text for 2 seconds at the bottom of the main window, fading in
// and out. Texts are translation keys; a key without a translation shows as
// itself. Shown as plain text.
class ToastMessage : public QWidget
{
    Q_OBJECT
public:
    static ToastMessage* getInstance();
    static void deleteInstance();
    static void setMainWindow(QWidget* window);

    void showMessage(const QString& text);
    QLabel* textLabel() const { return label; }

public slots:
    void showToastMessage(const char* ch);
    void showToastMessage(const QString& msg);

private slots:
    void hideMessage();
    void hideAndLower();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ToastMessage();
    bool resolveMainWindow();

    QFrame* frame;
    QLabel* label;
    QTimer* hideTimer;
    QGraphicsOpacityEffect* effect;
    QPropertyAnimation* animation;

    // Guarded: the main window owns the toast once it has been shown.
    static QPointer<ToastMessage> instance;
    static QPointer<QWidget> mainWindow;
};

#endif // TOASTMESSAGE_H
