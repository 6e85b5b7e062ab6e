#ifndef FAKEREPLY_H
#define FAKEREPLY_H

#include "servicereply.h"

// What the test service answers to one request (scripted or from a handler).
using FakeReply = ServiceReply;

#endif // FAKEREPLY_H
