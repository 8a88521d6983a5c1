#include "app/SessionEvents.h"
