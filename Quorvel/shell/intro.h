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
};

#endif // INTRO_H
