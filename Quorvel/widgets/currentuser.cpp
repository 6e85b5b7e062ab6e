#include "widgets/currentuser.h"

QString currentUserName;
