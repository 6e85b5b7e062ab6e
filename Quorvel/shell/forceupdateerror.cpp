#include "shell/forceupdateerror.h"

#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/stylesheetpaint.h"

#include <QLabel>
#include <QVBoxLayout>

ForceUpdateError::ForceUpdateError(QWidget* parent)
    : QWidget(parent), message(new QLabel(tr("_ForceUpdateMessage"), this)),
      updateButton(new FlatButton(tr("_CloseProgram"), this))
{
    setFixedWidth(400);
    setMinimumHeight(200);
    auto* layout = new QVBoxLayout(this);
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    message->setFont(Fonts::getFont(20));
    layout->addWidget(message);
    updateButton->setTextAlignment(Qt::AlignCenter);
    updateButton->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    updateButton->setContentsMargins(10, 2, 10, 2);
    updateButton->setFont(Fonts::getFont(20));
    updateButton->setObjectName(QStringLiteral("ForceUpdateErrorUpdateButton"));
    layout->addWidget(updateButton, 0, Qt::AlignCenter);
    connect(updateButton, &FlatButton::onClick, this, &ForceUpdateError::quitRequested);
}

void ForceUpdateError::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
