#include "shell/channellookupviewer.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/avatarviewer.h"
#include "widgets/biditext.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QLabel>
#include <QTextLayout>
#include <QVBoxLayout>

namespace {

const int kDescriptionLines = 5;

// The start of text in at most lines lines of width (a line break in the
// text starts a line), broken between words where it can and inside a word
// too long for a line. When the text goes on, the last line shown is as much
// of the rest as fits, ending in "…".
QString startOf(const QString& text, const QFont& font, int width, int lines)
{
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    QStringList shown;
    for (int p = 0; p < paragraphs.size(); ++p) {
        const QString& paragraph = paragraphs.at(p);
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(width);
        layout.endLayout();
        for (int i = 0; i < qMax(1, layout.lineCount()); ++i) {
            const int start = layout.lineCount() > 0 ? layout.lineAt(i).textStart() : 0;
            if (shown.size() == lines - 1) {
                QStringList rest{paragraph.mid(start)};
                rest << paragraphs.mid(p + 1);
                shown << QFontMetrics(font).elidedText(rest.join(QLatin1Char(' ')), Qt::ElideRight,
                                                       width);
                return shown.join(QLatin1Char('\n'));
            }
            // Without the blanks it broke at, so that each line sits centred.
            shown << (layout.lineCount() > 0
                          ? paragraph.mid(start, layout.lineAt(i).textLength()).trimmed()
                          : QString());
        }
    }
    return shown.join(QLatin1Char('\n'));
}

} // namespace

ChannelLookupViewer::ChannelLookupViewer(QWidget* parent)
    : QWidget(parent), avatar(new AvatarViewer(this)), id(new QLabel(this)), name(new QLabel(this)),
      description(new QLabel(this)), members(new QLabel(this)),
      join(new FlatButton(tr("_Join"), this)), back(new FlatButton(tr("_Return"), this)),
      preview(new FlatButton(tr("_Preview"), this))
{
    setObjectName(QStringLiteral("ChannelLookupViewer"));
    // Its own background over the dimmed window.
    setAttribute(Qt::WA_StyledBackground);
    // Everything shown here comes from the service: never read as markup.
    for (QLabel* label : {id, name, description, members})
        label->setTextFormat(Qt::PlainText);
    // Cut to a few lines of its own width (see setChannelLookup): however
    // long, it leaves the buttons on the screen.
    description->setFixedWidth(scaleValue(280));
    description->setAlignment(Qt::AlignHCenter);
    preview->hide();

    auto* layout = new QVBoxLayout(this);
    for (QWidget* w :
         {static_cast<QWidget*>(avatar), static_cast<QWidget*>(name), static_cast<QWidget*>(id),
          static_cast<QWidget*>(members), static_cast<QWidget*>(description)})
        layout->addWidget(w, 0, Qt::AlignHCenter);
    for (FlatButton* button : {join, preview, back}) {
        button->setTextAlignment(Qt::AlignCenter);
        layout->addWidget(button);
    }
    connect(join, &FlatButton::onClick, this, &ChannelLookupViewer::joinClicked);
    connect(back, &FlatButton::onClick, this, &ChannelLookupViewer::returnClicked);
    connect(preview, &FlatButton::onClick, this, &ChannelLookupViewer::previewClicked);
}

void ChannelLookupViewer::setChannelLookup(const ChannelLookup& value)
{
    lookup = value;
    avatar->setAvatarType(AvatarViewer::Channel);
    avatar->setAvatarSize(scaleSize(QSize(100, 100)));
    avatar->setAvatarId(value.getId());
    avatar->downloadAvatar(value.getAvatarThumbnailURL());
    avatar->setClickable(true);
    name->setText(BidiText::visibleControls(value.getName()));
    name->setFont(Fonts::getFont(30));
    id->setText(QStringLiteral("@%1").arg(value.getId()));
    members->setText(QString::number(value.getMembersCount()) + QLatin1Char(' ') + tr("_Members"));
    description->setFont(Fonts::getFont(baseFontSize));
    description->setText(BidiText::confinedControls(startOf(
        value.getDescription(), description->font(), description->width(), kDescriptionLines)));
}

void ChannelLookupViewer::joinClicked()
{
    L_DEBUG(QStringLiteral("ChannelLookupViewer::joinClicked"));
    emit command(CMD_ChannelJoin, QVariant(lookup.getId()));
    hide();
}

void ChannelLookupViewer::returnClicked()
{
    L_DEBUG(QStringLiteral("ChannelLookupViewer::returnClicked"));
    hide();
}

void ChannelLookupViewer::previewClicked()
{
    L_DEBUG(QStringLiteral("ChannelLookupViewer::previewClicked"));
}
