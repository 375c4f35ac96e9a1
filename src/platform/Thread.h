// Thread names, as debuggers and `top -H` show them.
#pragma once

namespace platform
{

// Names the calling thread. Linux keeps at most 15 bytes of it.
void SetCurrentThreadName(const char* pszName);

} // namespace platform
