#include "screens/poll/pollchoicewidget.h"

#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/pixmapcaching.h"

#include <QHBoxLayout>
#include <QPixmapCache>
#include <QTextEdit>

PollChoiceWidget::PollChoiceWidget(QWidget* parent)
    : QWidget(parent), edit(new QTextEdit), remover(new FlatButton)
{
    cachedScaledPixmap(QStringLiteral("_removeRedCross"),
                       QStringLiteral(":/Images/removeRedCross.png"), QSize(20, 20));
    edit->setFont(Fonts::getFont(20));
    edit->setFixedHeight(30);
    edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setAcceptRichText(false);
    remover->setObjectName(QStringLiteral("PollChoiceWidget_RemoveButton"));
    QPixmap cross;
    if (QPixmapCache::find(QStringLiteral("_removeRedCross"), &cross))
        remover->setPixmap(cross);
    connect(remover, &FlatButton::onClick, this, &PollChoiceWidget::_remove);
    QHBoxLayout* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(5);
    layout->addWidget(remover);
    layout->addWidget(edit);
}

bool PollChoiceWidget::getPollOption(PollOption& option) const
{
    const QString text = getText();
    if (text.isEmpty())
        return false;
    option.setDisplayCommentBox(false);
    option.setText(text);
    return true;
}

QString PollChoiceWidget::getText() const
{
    return edit->toPlainText();
}

void PollChoiceWidget::_remove()
{
    emit remove(this);
}
