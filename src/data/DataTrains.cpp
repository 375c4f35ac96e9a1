#include "data/DataTrains.h"

#include "data/SerializationInfo.h"

void CDataTrains::Serialize(CSerializationInfo& info) const
{
    info.SetName(GetName());
    CSerializationInfo* pLast = nullptr;
    for (const auto& entry : m_mapTrains)
    {
        CSerializationInfo* pNode = pLast ? pLast->AddSibling() : info.GetChild();
        entry.second.Serialize(*pNode);
        pLast = pNode;
    }
}

void CDataTrains::Deserialize(const CSerializationInfo& info)
{
    if (!IsSameNameNoCase(info.GetName(), GetName()))
        return;
    for (const CSerializationInfo* pChild = info.GetFirstChild(); pChild;
         pChild = pChild->GetNext())
    {
        // A child of another name gives a record at its defaults, stored under ID 0.
        CDataTrain train;
        train.Deserialize(*pChild);
        m_mapTrains[train.GetID()] = train;
    }
}

void CDataTrains::SetTrains(const TrainMap& trains)
{
    if (&trains != &m_mapTrains)
        m_mapTrains = trains;
}
