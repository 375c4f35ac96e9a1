#include "data/DataTrain.h"

#include "data/SerializationInfo.h"

void CDataTrain::Serialize(CSerializationInfo& info) const
{
    info.SetName(GetName());
    info.AddValue("ID", m_nID);
    info.AddValue("Direction", m_nDirection);
    info.AddValue("SetNumber", m_strSetNumber);
    info.AddValue("LTERAddress", m_strLTERAddress);
    info.AddValue("Port", m_nPort);
    info.AddValue("RdpPort", m_nRdpPort);
}

void CDataTrain::Deserialize(const CSerializationInfo& info)
{
    if (!IsSameNameNoCase(info.GetName(), GetName()))
        return;
    // The loader stores names lower-cased.
    m_nID = info.GetIntValue("id");
    m_nDirection = info.GetIntValue("direction");
    m_strSetNumber = info.GetValue("setnumber");
    m_strLTERAddress = info.GetValue("lteraddress");
    m_nPort = info.GetIntValue("port");
    m_nRdpPort = info.GetIntValue("rdpport");
}

bool CDataTrain::operator==(const CDataTrain& other) const
{
    return m_nID == other.m_nID && m_nDirection == other.m_nDirection &&
           m_strSetNumber == other.m_strSetNumber && m_strLTERAddress == other.m_strLTERAddress &&
           m_nPort == other.m_nPort && m_nRdpPort == other.m_nRdpPort;
}
