#include "shell/lookuppreview.h"

#include "widgets/avatarviewer.h"
#include "widgets/biditext.h"
#include "widgets/flatbutton.h"
#include "widgets/interfacescale.h"

#include <QLabel>
#include <QVBoxLayout>

LookupPreview::LookupPreview(int avatarSide, const QString& firstText, const QString& secondText,
                             QWidget* parent)
    : QWidget(parent), avatar(new AvatarViewer(this)), first(new FlatButton(firstText, this)),
      second(new FlatButton(secondText, this))
{
    setAttribute(Qt::WA_StyledBackground);
    const QSize side = scaleSize(QSize(avatarSide, avatarSide));
    avatar->setAvatarSize(side);
    avatar->setFixedSize(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(avatar, 0, Qt::AlignHCenter);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(this);
        // Whatever a look-up brings comes from the service: never markup.
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label, 0, Qt::AlignHCenter);
        labels << label;
    }
    for (FlatButton* button : {first, second}) {
        button->setTextAlignment(Qt::AlignCenter);
        layout->addWidget(button);
    }
}

void LookupPreview::showLookup(int kind, const QString& id, const QString& url,
                               const QStringList& lines)
{
    avatar->setAvatarType(kind);
    avatar->setAvatarId(id);
    avatar->downloadAvatar(url);
    for (int i = 0; i < labels.size(); ++i) {
        // Names and descriptions from the service: none disguises itself.
        labels.at(i)->setText(BidiText::confinedControls(lines.value(i)));
        labels.at(i)->setVisible(!lines.value(i).isEmpty());
    }
}
