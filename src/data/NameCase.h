// Lower-casing of element names in code page 949: ASCII letters and the double-byte
// capitals that have a small form in the code page (full-width Latin, Roman numerals,
// Greek, Cyrillic and a few Latin letters).
#pragma once

#include <string>

// A-Z become a-z; a lead byte (0x81-0xFE) with a valid trail byte is one character, mapped
// as a whole, so trail bytes that look like ASCII capitals are never changed.
std::string LowerCp949Name(const std::string& strName);
