#ifndef BUSYSPINNER_H
#define BUSYSPINNER_H

class QWidget;
class WaitingSpinnerWidget;

// The busy indicator of the channel forms: twelve dark red lines turning
// once a second over the form, which cannot be used while it turns.
class BusySpinner
{
public:
    static WaitingSpinnerWidget* make(QWidget* parent);
};

#endif // BUSYSPINNER_H
