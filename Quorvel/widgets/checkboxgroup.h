#ifndef CHECKBOXGROUP_H
#define CHECKBOXGROUP_H

#include <QList>
#include <QWidget>

class CheckBox;

// Check boxes that, when exclusive, uncheck each other.
class CheckBoxGroup : public QWidget
{
    Q_OBJECT
public:
    explicit CheckBoxGroup(QWidget* parent = nullptr);

    void addCheckBox(CheckBox* box);
    void setExclusive(bool value) { exclusive = value; }

public slots:
    void itemSelected();

private:
    QList<CheckBox*> boxes;
    bool exclusive = false;
};

#endif // CHECKBOXGROUP_H
