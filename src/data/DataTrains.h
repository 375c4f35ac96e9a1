// The line's train list, keyed and ordered by train ID (negative IDs first).
#pragma once

#include <map>
#include <string>

#include "data/DataTrain.h"
#include "data/Serializable.h"

// Ascending signed ID. operator[] of an absent ID inserts a record with that ID.
class TrainMap : public std::map<int, CDataTrain>
{
public:
    CDataTrain& operator[](int nID) { return try_emplace(nID, CDataTrain(nID)).first->second; }
};

class CDataTrains : public CSerializable
{
public:
    std::string GetName() const override { return "Trains"; }
    void Serialize(CSerializationInfo& info) const override;
    // Adds one record per child node, stored under its ID (a later one replaces an earlier
    // one); the list is not emptied first.
    void Deserialize(const CSerializationInfo& info) override;

    virtual TrainMap& GetTrains() { return m_mapTrains; }
    virtual const TrainMap& GetTrains() const { return m_mapTrains; }
    virtual void SetTrains(const TrainMap& trains);

private:
    TrainMap m_mapTrains;
};
