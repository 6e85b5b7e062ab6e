#ifndef FAKEREQUEST_H
#define FAKEREQUEST_H

#include "servicerequest.h"

// One HTTP request as the test service received it.
using FakeRequest = ServiceRequest;

#endif // FAKEREQUEST_H
