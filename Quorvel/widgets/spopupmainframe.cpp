#include "widgets/spopupmainframe.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/customscrollarea.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"

#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QVBoxLayout>

SPopupMainFrame::SPopupMainFrame(QWidget* parent)
    : QWidget(parent), scroll(new CustomScrollArea(this)), group(new QParallelAnimationGroup(this)),
      mainLayout(new QVBoxLayout(this)), contentLayout(new QVBoxLayout), header(new QFrame(this)),
      contentFrame(new QFrame), title(new QLabel(header)), close_(new FlatButton(header)),
      position(new QPropertyAnimation(this, "pos", this)), effect(new QGraphicsOpacityEffect(this)),
      fade(new QPropertyAnimation(effect, "opacity", this))
{
    scroll->setWidgetResizable(true);
    scroll->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->addWidget(header);
    mainLayout->addWidget(scroll);

    header->setObjectName(QStringLiteral("SPopupMainFrame_Header"));
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    auto* headerLayout = new QHBoxLayout(header);
    title->setObjectName(QStringLiteral("SPopupMainFrameHeaderTitle"));
    title->setFont(Fonts::getFont(22));
    title->setTextFormat(Qt::PlainText);
    close_->setPixmap(QPixmap(QStringLiteral(":/Images/close_white.png"))
                          .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    connect(close_, &FlatButton::onClick, this, &SPopupMainFrame::startClose);
    headerLayout->insertWidget(0, title);
    headerLayout->addWidget(close_);
    headerLayout->addStretch(1);

    contentFrame->setObjectName(QStringLiteral("SPopupMainFrameFrame"));
    contentFrame->setMinimumWidth(300);
    contentFrame->setLayout(contentLayout);
    contentLayout->setContentsMargins(3, 3, 3, 3);
    contentLayout->setSpacing(3);
    scroll->setWidget(contentFrame);

    effect->setOpacity(0.0);
    setGraphicsEffect(effect);
    setupAnimation();
    group->addAnimation(position);
    group->addAnimation(fade);
    connect(group, &QParallelAnimationGroup::finished, this, &SPopupMainFrame::showEnd);
}

void SPopupMainFrame::setupAnimation()
{
    position->setStartValue(pos() - QPoint(10, 10));
    position->setEndValue(pos());
    position->setDuration(200);
    position->setEasingCurve(QEasingCurve::OutExpo);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setDuration(200);
    fade->setEasingCurve(QEasingCurve::OutExpo);
    L_DEBUG(
        QStringLiteral("SPopupMainFrame::setupAnimation() %1,%2").arg(pos().x()).arg(pos().y()));
}

double SPopupMainFrame::opacity() const
{
    return effect->opacity();
}

void SPopupMainFrame::addContentLayout(QLayout* layout)
{
    contentLayout->addLayout(layout);
    contentFrame->adjustSize();
    adjustSize();
}

void SPopupMainFrame::setTitle(const QString& text)
{
    title->setText(text);
}

void SPopupMainFrame::startShow()
{
    setupAnimation();
    group->setDirection(QAbstractAnimation::Forward);
    group->start();
    show();
    raise();
    emit popupOpened();
}

void SPopupMainFrame::startClose()
{
    // Runs from where the panel rests back to 10 pixels up and left.
    if (group->state() != QAbstractAnimation::Running)
        setupAnimation();
    group->setDirection(QAbstractAnimation::Backward);
    group->start();
}

void SPopupMainFrame::showEnd()
{
    if (effect->opacity() != 0.0)
        return;
    lower();
    close();
    emit popupClosed();
}
