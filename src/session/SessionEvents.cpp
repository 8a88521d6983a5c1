#include "session/SessionEvents.h"
