#include "xml/XmlPath.h"

std::string MakePathStep(const std::string& strName)
{
    return "$" + strName + "$";
}

std::string MakeIndexedPathStep(const std::string& strName, int nIndex)
{
    if (nIndex <= 0)
        return MakePathStep(strName);
    return "$" + strName + "%" + IntToString(nIndex) + "$";
}

std::string JoinPath(const std::string& strPath, const std::string& strName)
{
    if (!strName.empty() && strName[0] == '$')
        return strPath + strName;
    return strPath + MakePathStep(strName);
}

std::string IntToString(int nValue)
{
    return std::to_string(nValue);
}
