#include "widgets/formerrorline.h"

#include <QLabel>

void FormErrorLine::setUp(QLabel* line)
{
    line->setObjectName(QStringLiteral("ErrorMess"));
    line->setTextFormat(Qt::PlainText);
    // One line of room even while the text is still empty.
    line->setMinimumHeight(line->fontMetrics().height());
    QSizePolicy policy = line->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    line->setSizePolicy(policy);
    line->hide();
}
