// Decoding of text pieces for the parser: line ends, references and whitespace by mode.
#pragma once

#include <string>

#include "xml/XmlParser.h"

struct XmlDecodeContext
{
    const XmlEntityTable* general = nullptr;    // expanded in ampersand, space and star modes
    const XmlEntityTable* parameters = nullptr; // expanded in percent mode
    size_t* budget = nullptr;                   // bytes entity expansion may still produce
};

// The result of decoding one piece: in place (text points into the piece) or owned.
struct XmlDecoded
{
    const char* text = "";
    size_t length = 0;
    bool owned = false;
    std::string storage; // holds the text when owned
};

// Turns CR LF and lone CR into LF in place; returns the new end (written as NUL).
char* XmlNormalizeLineEnds(char* pszStart, char* pszEnd);

// Decodes [pszStart, pszEnd) (pszEnd holds a NUL or may be overwritten with one). false when
// entity expansion would exceed the budget.
bool XmlDecodeText(char* pszStart, char* pszEnd, XmlDecodeMode eMode,
                   const XmlDecodeContext& context, XmlDecoded& result);

// The first declaration whose stored name starts the text (the text after "&"), or null.
const XmlEntity* XmlMatchEntity(const XmlEntityTable& table, std::string_view text);

// Appends the UTF-8 form of a code point (1 to 6 bytes).
void XmlAppendUtf8(std::string& strOut, unsigned long nValue);
