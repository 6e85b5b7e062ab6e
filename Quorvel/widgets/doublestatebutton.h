#ifndef DOUBLESTATEBUTTON_H
#define DOUBLESTATEBUTTON_H

#include <QLabel>

// A two-state image button; each left-button release flips the state.
class DoubleStateButton : public QLabel
{
    Q_OBJECT
public:
    explicit DoubleStateButton(QWidget* parent = nullptr);

    // Caches both images at the size and fixes the button to it; shows
    // nothing until setState.
    void setImages(const QString& trueKey, const QString& trueImage, const QString& falseKey,
                   const QString& falseImage, const QSize& size);
    void setState(bool value);
    bool getState() const { return state; }

signals:
    void clicked(bool checked);

public slots:
    void animationFinished() {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showState();

    bool state = false;
    QString trueKey;
    QString falseKey;
};

#endif // DOUBLESTATEBUTTON_H
