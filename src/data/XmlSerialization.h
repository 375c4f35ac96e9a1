// Loading objects from XML: the text is parsed, turned into a property tree and handed to
// the object's Deserialize.
#pragma once

#include <string>

struct XmlNode;
class CSerializable;
class CSerializationInfo;

enum class XmlLoadCode
{
    kLoaded,          // a root element was read (the parse may still have stopped later)
    kFileNotReadable, // missing, a folder, or a read error
    kNoRootElement,   // empty, only comments and declarations, or no element was opened
};

struct XmlLoadResult
{
    XmlLoadCode code = XmlLoadCode::kNoRootElement;
    // The parser's error text when the document did not parse to its end; "" otherwise.
    std::string strParseError;

    bool Ok() const { return code == XmlLoadCode::kLoaded; }
};

// Reads the whole file and loads its text (up to its first zero byte) into the object.
// true when the file was read and has a root element. pObject and pResult may be null.
bool LoadXmlFile(const std::string& strPath, CSerializable* pObject,
                 XmlLoadResult* pResult = nullptr);
// Parses the text (up to its first zero byte); when it has a root element, builds the
// property tree and calls pObject->Deserialize with its root. true when there was a root.
bool LoadXmlText(const std::string& strText, CSerializable* pObject,
                 XmlLoadResult* pResult = nullptr);

// Fills the node from the element: lower-cased names; child elements without children of
// their own become values (text decoded once more), the others become child nodes.
// Attributes and the text of elements with children are dropped.
void XmlToSerializationInfo(const XmlNode& element, CSerializationInfo& node);

// Replaces the five named entity references (amp, quot, apos, lt, gt); everything else,
// numeric references included, stays as it is.
std::string XmlUnescape(const std::string& strText);
