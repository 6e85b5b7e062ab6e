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
    placeholder->adjustSize();
    placeholder->hide();
    return layout;
}
