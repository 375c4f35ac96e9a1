// Fields of the comma-separated export and of the clipboard text.
#pragma once

#include <string>

// A field that holds a comma, a double quote, a CR or an LF is enclosed in double quotes
// with its inner double quotes doubled (RFC 4180); any other field is appended unchanged.
// Byte-wise is safe for code page 949: its trail bytes are never one of these four.
void AppendCsvField(std::string& strLine, const std::string& strField);
