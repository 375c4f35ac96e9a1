// In-place XML text parser: one forward pass over the caller's buffer into an element tree.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// How a piece of text is decoded: which references are resolved and what whitespace becomes.
enum class XmlDecodeMode
{
    kAmpersand, // character data: character references and general entities
    kCdata,     // CDATA sections: line ends only
    kSpace,     // CDATA attribute values: whitespace becomes spaces
    kStar,      // other declared attribute types: spaces collapsed and trimmed as well
    kPercent,   // entity values of the internal subset: character and parameter references
};

// Which texts of a node live in its own storage instead of the parsed buffer.
enum XmlNodeFlags : unsigned
{
    kXmlTextOwned = 1u,
    kXmlValueOwned = 2u, // at least one attribute value
};

struct XmlAttribute
{
    const char* name;
    const char* value;
};

// One element. Names, values and most texts point into the parsed buffer.
struct XmlNode
{
    const char* name = nullptr;
    std::vector<XmlAttribute> attributes;
    const char* text = "";
    XmlNode* parent = nullptr;
    XmlNode* child = nullptr;   // first child in document order
    XmlNode* ordered = nullptr; // next sibling in document order
    unsigned flags = 0;

    // Bookkeeping of the parse: constant-time appends of children and text pieces.
    XmlNode* lastChild = nullptr;
    size_t textLength = 0;
    std::string ownedText;
};

// One general or parameter entity; the name is stored with its ";".
struct XmlEntity
{
    std::string name;
    std::string value;
    size_t ordinal = 0; // position in the declaration order
};

// Entities in declaration order; a reference resolves to the first declaration whose stored
// name is a prefix of the text after "&" (or "%").
struct XmlEntityTable
{
    std::deque<XmlEntity> entries; // stable addresses: the index holds views of the names
    std::unordered_map<std::string_view, size_t> index; // stored name -> first declaration
    size_t longest = 0;
    bool innerSemicolon = false; // some stored name holds a ";" before its last byte

    void Add(std::string strName, std::string strValue);
};

struct XmlAttributeDecl
{
    std::string name;
    bool hasDefault = false;
    std::string defaultValue;
    XmlDecodeMode mode = XmlDecodeMode::kSpace;
};

struct XmlAttributeList
{
    std::string element;
    std::vector<XmlAttributeDecl> attributes;
};

// The document: the root element plus everything the parse needs and owns.
struct XmlRoot : XmlNode
{
    XmlNode* current = nullptr; // the open element; none once the root element is closed
    char* workStart = nullptr;
    char* workEnd = nullptr;
    std::string converted;   // the UTF-8 text of a UTF-16 input, the work area then
    XmlEntityTable entities; // general entities, the five predefined ones first
    std::vector<XmlAttributeList> attributeLists;
    bool standalone = false;
    std::string error; // "" on success, at most 127 bytes otherwise

    std::deque<XmlNode> nodes;           // every element but the root; stable addresses
    std::deque<std::string> ownedValues; // attribute values that outgrew their place
    bool rootClosed = false;
};

// Parses the NUL-terminated buffer (modified in place; it must outlive the result).
// Never returns null; the root's name is null when no element was opened.
XmlRoot* XmlParseText(char* pszBuffer, size_t nLength);
void XmlFreeTree(XmlRoot* pRoot);

// Why an error text is cut: the document's error field holds at most this many bytes.
constexpr size_t kXmlMaxErrorLength = 127;
// Nesting deeper than this fails: every element's full path is stored by the document.
constexpr int kXmlMaxDepth = 1000;
// Entity expansion may produce this many bytes, or 100 times the input when that is more.
constexpr size_t kXmlExpansionFloor = 8u * 1024u * 1024u;
constexpr size_t kXmlExpansionFactor = 100;
