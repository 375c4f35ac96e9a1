// Feeds arbitrary bytes to the XML parser, the path document and the writer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "xml/XmlCfg.h"
#include "xml/XmlParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string text(reinterpret_cast<const char*>(pData), nSize);

    // The raw parser sees every byte, zero bytes and UTF-16 marks included.
    std::string buffer = text;
    buffer.push_back('\0');
    XmlRoot* pRoot = XmlParseText(&buffer[0], nSize);
    size_t nElements = 0;
    for (const XmlNode* p = pRoot->name ? pRoot : nullptr; p;)
    {
        ++nElements;
        for (const XmlAttribute& a : p->attributes)
            nElements += (a.name[0] == 0) + (a.value[0] == 0);
        if (p->child)
        {
            p = p->child;
            continue;
        }
        while (p && !p->ordered)
            p = p->parent;
        if (p)
            p = p->ordered;
    }
    if (pRoot->error.size() > kXmlMaxErrorLength)
        __builtin_trap();
    XmlFreeTree(pRoot);

    CXmlCfg xml;
    CStrList names;
    names.Add("LogItem");
    names.Add("Setting");
    names.Add("a");
    if (xml.LoadFromText(text, &names))
    {
        std::string out;
        xml.ToText(out);
        // The writer's text goes through the parser once more.
        CXmlCfg back;
        back.LoadFromText(out, &names);
    }
    return nElements == static_cast<size_t>(-1);
}
