#include "data/TrainListText.h"

#include "platform/CrtNumbers.h"
#include "platform/File.h"
#include "xml/XmlCfg.h"

namespace
{

// Leaf text as the file must hold it to read back as strText.
std::string EncodeLeafText(const std::string& strText)
{
    std::string strTwice = XmlEscape(XmlEscape(strText));
    std::string strOut;
    strOut.reserve(strTwice.size());
    for (char c : strTwice)
    {
        if (c == '\r')
            strOut += "&#13;";
        else
            strOut += c;
    }
    return strOut;
}

void AppendField(std::string& strOut, const char* pszName, const std::string& strText)
{
    strOut += "\t\t<";
    strOut += pszName;
    strOut += '>';
    strOut += strText;
    strOut += "</";
    strOut += pszName;
    strOut += ">\r\n";
}

} // namespace

std::string MakeTrainListText(const TrainMap& trains)
{
    std::string strOut = "<Trains>\r\n";
    for (const auto& entry : trains)
    {
        const CDataTrain& train = entry.second;
        strOut += "\t<Train>\r\n";
        AppendField(strOut, "ID", platform::FormatInt(train.GetID()));
        AppendField(strOut, "Direction", platform::FormatInt(train.GetDirection()));
        AppendField(strOut, "SetNumber", EncodeLeafText(train.GetSetNumber()));
        AppendField(strOut, "LTERAddress", EncodeLeafText(train.GetLTERAddress()));
        AppendField(strOut, "Port", platform::FormatInt(train.GetPort()));
        AppendField(strOut, "RdpPort", platform::FormatInt(train.GetRdpPort()));
        strOut += "\t</Train>\r\n";
    }
    strOut += "</Trains>\r\n";
    return strOut;
}

bool SaveTrainListFile(const std::string& strPath, const TrainMap& trains)
{
    return platform::ReplaceFileAtomically(strPath, MakeTrainListText(trains));
}
