#ifndef LISTAREA_H
#define LISTAREA_H

// The list set-up lives with the widget kit, where the conversation view's
// lists use it too.
#include "widgets/listarea.h"

#endif // LISTAREA_H
