#include "platform/Thread.h"

#include <cstring>
#include <pthread.h>

namespace platform
{

void SetCurrentThreadName(const char* pszName)
{
    char name[16]; // the kernel's limit, with the terminating NUL
    std::strncpy(name, pszName ? pszName : "", sizeof(name) - 1);
    name[sizeof(name) - 1] = '\0';
    ::pthread_setname_np(::pthread_self(), name);
}

} // namespace platform
