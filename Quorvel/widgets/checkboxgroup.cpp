#include "widgets/checkboxgroup.h"

#include "widgets/checkbox.h"

CheckBoxGroup::CheckBoxGroup(QWidget* parent) : QWidget(parent) {}

void CheckBoxGroup::addCheckBox(CheckBox* box)
{
    boxes.append(box);
    connect(box, &CheckBox::selected, this, &CheckBoxGroup::itemSelected);
}

void CheckBoxGroup::itemSelected()
{
    if (!exclusive)
        return;
    for (CheckBox* box : qAsConst(boxes)) {
        if (box != sender())
            box->setChecked(false);
    }
}
