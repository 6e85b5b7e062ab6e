#include "widgets/listarea.h"

#include "widgets/customscrollarea.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QLabel>
#include <QVBoxLayout>

QVBoxLayout* setUpListArea(CustomScrollArea* area, QWidget* contents, QLabel* placeholder,
                           const QString& contentsName, const QString& emptyText)
{
    contents->setObjectName(contentsName);
    auto* layout = new QVBoxLayout(contents);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignTop);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->setWidget(contents);
    placeholder->setText(emptyText);
    placeholder->setFont(Fonts::getFont(baseFontSize));
    // The empty list's line sits in the middle of the list, whichever the
    // direction: it covers the list's view and centres its text.
    placeholder->setAlignment(Qt::AlignCenter);
    placeholder->setWordWrap(true);
    // A child of the view, where a screen reader finds it: what sits on the
    // scroll area itself is outside the tree it reads.
    placeholder->setParent(area->viewport());
    const auto place = [area, placeholder] {
        placeholder->setGeometry(area->viewport()->rect());
        placeholder->raise();
    };
    place();
    QObject::connect(area, &CustomScrollArea::resized, placeholder, place);
    placeholder->hide();
    return layout;
}
