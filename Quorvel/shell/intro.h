#ifndef INTRO_H
#define INTRO_H

#include <QWidget>

// The welcome page of the registration window.
class Intro : public QWidget
{
    Q_OBJECT
public:
    explicit Intro(QWidget* parent = nullptr);

signals:
    void nextClicked();

protected:
    // The start button has the keyboard: Enter starts.
    void showEvent(QShowEvent* event) override;

private:
    QWidget* start;
};

#endif // INTRO_H
