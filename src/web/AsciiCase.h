// Header names, schemes and directive names compare without regard to ASCII letter case.
#pragma once

#include <string>

// true when the two texts are equal with ASCII letters compared case-insensitively; other
// bytes (CP949 double-byte characters included) must match exactly.
bool EqualsNoCase(const std::string& a, const char* b);
