#ifndef CURRENTUSER_H
#define CURRENTUSER_H

// The user's own name lives with the widget kit, where the conversation view
// reads it too.
#include "widgets/currentuser.h"

#endif // CURRENTUSER_H
