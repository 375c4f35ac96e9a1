// Code page 949 (Korean, the core's text encoding) <-> UTF-8 (sources, Qt, terminals).
#pragma once

#include <string>
#include <string_view>

namespace platform
{

// For display: bytes that are not valid code page 949 become U+FFFD.
std::string Cp949ToUtf8(std::string_view cp949);
// Characters that code page 949 cannot hold, and invalid UTF-8, become '?'.
std::string Utf8ToCp949(std::string_view utf8);

} // namespace platform
