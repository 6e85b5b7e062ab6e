#ifndef CURRENTUSER_H
#define CURRENTUSER_H

#include <QString>

// The signed-in user's own name, as the core last reported it; screens tell
// the user's own messages from others' by it.
extern QString currentUserName;

#endif // CURRENTUSER_H
