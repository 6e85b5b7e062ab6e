#include "Managers/Chat/chatrecipient.h"
#include "foundation/logger.h"
