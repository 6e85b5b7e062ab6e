#ifndef WIDGETS_CURRENTUSER_H
#define WIDGETS_CURRENTUSER_H

#include <QString>

// The signed-in user's own name, as the core last reported it; screens tell
// the user's own messages from others' by it.
extern QString currentUserName;

#endif // WIDGETS_CURRENTUSER_H
