#include "shell/currentuser.h"

QString currentUserName;
