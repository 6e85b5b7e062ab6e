#ifndef SPOPUP_H
#define SPOPUP_H

#include <QPointer>
#include <QWidget>

class QVBoxLayout;
class SPopupBase;
class SPopupMainFrame;

// An animated popup over the whole main window: a dimmed backdrop fades in
// while a framed panel slides into place; a click on the backdrop or the
// close button plays it backwards and closes the popup.
class SPopup : public QWidget
{
    Q_OBJECT
public:
    explicit SPopup(QWidget* parent = nullptr);

    static void setMainWindow(QWidget* window);
    void showPopup();
    void addContentLayout(QLayout* layout);
    void setTitle(const QString& title);
    SPopupMainFrame* panel() const { return mainFrame; }
    SPopupBase* backdrop() const { return base; }

public slots:
    void startShow();
    void startClose();
    void showEnd();
    void adjustSizeToMainWindow();

private:
    void placePanel();

    QVBoxLayout* layout;
    SPopupBase* base;
    SPopupMainFrame* mainFrame;

    static QPointer<QWidget> mainWindow;
};

#endif // SPOPUP_H
