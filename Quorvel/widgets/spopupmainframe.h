#ifndef SPOPUPMAINFRAME_H
#define SPOPUPMAINFRAME_H

#include <QWidget>

class CustomScrollArea;
class FlatButton;
class QFrame;
class QGraphicsOpacityEffect;
class QLabel;
class QParallelAnimationGroup;
class QPropertyAnimation;
class QVBoxLayout;

// The framed panel of an animated popup: a coloured header with a title and
// a close button over a scrolling content area; it slides 10 pixels into
// place while it fades in.
class SPopupMainFrame : public QWidget
{
    Q_OBJECT
public:
    explicit SPopupMainFrame(QWidget* parent = nullptr);

    void addContentLayout(QLayout* layout);
    void setTitle(const QString& title);
    QLabel* titleLabel() const { return title; }
    FlatButton* closeButton() const { return close_; }
    CustomScrollArea* scrollArea() const { return scroll; }
    double opacity() const;

signals:
    void popupOpened();
    void popupClosed();

public slots:
    void startShow();
    void startClose();
    void showEnd();

private:
    void setupAnimation();

    CustomScrollArea* scroll;
    QParallelAnimationGroup* group;
    QVBoxLayout* mainLayout;
    QVBoxLayout* contentLayout;
    QFrame* header;
    QFrame* contentFrame;
    QLabel* title;
    FlatButton* close_;
    QPropertyAnimation* position;
    QGraphicsOpacityEffect* effect;
    QPropertyAnimation* fade;
};

#endif // SPOPUPMAINFRAME_H
