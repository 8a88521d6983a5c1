#include <gmime/gmime.h>

#include "responses/GMimeInit.h"

#include <mutex>

void InitGMime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}
