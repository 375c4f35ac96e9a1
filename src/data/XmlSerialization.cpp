#include "data/XmlSerialization.h"

#include <utility>
#include <vector>

#include "data/NameCase.h"
#include "data/Serializable.h"
#include "data/SerializationInfo.h"
#include "platform/File.h"
#include "xml/XmlParser.h"

namespace
{

// Releases the parse result however the load ends.
struct XmlTreeHolder
{
    XmlRoot* pRoot;
    ~XmlTreeHolder() { XmlFreeTree(pRoot); }
};

void SetResult(XmlLoadResult* pResult, XmlLoadCode code, const std::string& strParseError)
{
    if (!pResult)
        return;
    pResult->code = code;
    pResult->strParseError = strParseError;
}

// The replacement of a named reference (without "&" and ";"), or null for any other name.
const char* NamedReference(const std::string& strName)
{
    if (strName == "amp")
        return "&";
    if (strName == "quot")
        return "\"";
    if (strName == "apos")
        return "'";
    if (strName == "lt")
        return "<";
    if (strName == "gt")
        return ">";
    return nullptr;
}

} // namespace

std::string XmlUnescape(const std::string& strText)
{
    std::string strOut;
    strOut.reserve(strText.size());
    std::string strPending;
    bool bPending = false;
    for (char c : strText)
    {
        if (c == '&')
        {
            if (bPending)
            {
                strOut += '&';
                strOut += strPending;
            }
            bPending = true;
            strPending.clear();
        }
        else if (c == ';' && bPending)
        {
            if (const char* pszReplacement = NamedReference(strPending))
                strOut += pszReplacement;
            else
            {
                strOut += '&';
                strOut += strPending;
                strOut += ';';
            }
            bPending = false;
            strPending.clear();
        }
        else if (bPending)
            strPending += c;
        else
            strOut += c;
    }
    if (bPending)
    {
        strOut += '&';
        strOut += strPending;
    }
    return strOut;
}

void XmlToSerializationInfo(const XmlNode& element, CSerializationInfo& node)
{
    // Breadth of work instead of depth of calls: each pending pair is an element with
    // children and the node it fills; the nodes exist before their turn comes, so document
    // order is kept per parent however the pairs are taken.
    std::vector<std::pair<const XmlNode*, CSerializationInfo*>> pending;
    pending.emplace_back(&element, &node);
    while (!pending.empty())
    {
        const XmlNode* pElement = pending.back().first;
        CSerializationInfo* pNode = pending.back().second;
        pending.pop_back();
        pNode->SetName(LowerCp949Name(pElement->name ? pElement->name : ""));
        CSerializationInfo* pLastChild = nullptr;
        for (const XmlNode* pChild = pElement->child; pChild; pChild = pChild->ordered)
        {
            std::string strName = LowerCp949Name(pChild->name ? pChild->name : "");
            if (!pChild->child)
            {
                pNode->AddValue(strName,
                                XmlUnescape(std::string(pChild->text, pChild->textLength)));
                continue;
            }
            CSerializationInfo* pNew = pLastChild ? pLastChild->AddSibling() : pNode->GetChild();
            pLastChild = pNew;
            pending.emplace_back(pChild, pNew);
        }
    }
}

bool LoadXmlText(const std::string& strText, CSerializable* pObject, XmlLoadResult* pResult)
{
    std::string strBuffer(strText.c_str());
    XmlTreeHolder tree{XmlParseText(&strBuffer[0], strBuffer.size())};
    if (!tree.pRoot->name)
    {
        SetResult(pResult, XmlLoadCode::kNoRootElement, tree.pRoot->error);
        return false;
    }
    if (pObject)
    {
        CSerializationInfo root;
        XmlToSerializationInfo(*tree.pRoot, root);
        pObject->Deserialize(root);
    }
    SetResult(pResult, XmlLoadCode::kLoaded, tree.pRoot->error);
    return true;
}

bool LoadXmlFile(const std::string& strPath, CSerializable* pObject, XmlLoadResult* pResult)
{
    std::string strText;
    if (!platform::ReadWholeFile(strPath, strText))
    {
        SetResult(pResult, XmlLoadCode::kFileNotReadable, std::string());
        return false;
    }
    return LoadXmlText(strText, pObject, pResult);
}
