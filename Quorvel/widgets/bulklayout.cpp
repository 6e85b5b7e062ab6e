#include "widgets/bulklayout.h"

#include <QLayout>

BulkLayout::BulkLayout(QLayout* layout) : held(layout), wasEnabled(layout->isEnabled())
{
    held->setEnabled(false);
}

BulkLayout::~BulkLayout()
{
    if (!wasEnabled)
        return;
    held->setEnabled(true);
    held->activate();
}
