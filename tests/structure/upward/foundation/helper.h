#include "model/message.h"
