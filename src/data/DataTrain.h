// One train of the line: its ID, direction, set number, LTE router address and the two
// ports behind it.
#pragma once

#include <string>

#include "data/Serializable.h"

class CDataTrain : public CSerializable
{
public:
    CDataTrain() = default;
    explicit CDataTrain(int nID) : m_nID(nID) {}

    std::string GetName() const override { return "Train"; }
    void Serialize(CSerializationInfo& info) const override;
    void Deserialize(const CSerializationInfo& info) override;

    virtual int GetID() const { return m_nID; }
    virtual void SetID(int nID) { m_nID = nID; }
    virtual int GetDirection() const { return m_nDirection; }
    virtual void SetDirection(int nDirection) { m_nDirection = nDirection; }
    virtual std::string GetSetNumber() const { return m_strSetNumber; }
    virtual void SetSetNumber(const std::string& strSetNumber) { m_strSetNumber = strSetNumber; }
    virtual std::string GetLTERAddress() const { return m_strLTERAddress; }
    virtual void SetLTERAddress(const std::string& strAddress) { m_strLTERAddress = strAddress; }
    virtual int GetPort() const { return m_nPort; }
    virtual void SetPort(int nPort) { m_nPort = nPort; }
    virtual int GetRdpPort() const { return m_nRdpPort; }
    virtual void SetRdpPort(int nRdpPort) { m_nRdpPort = nRdpPort; }

    bool operator==(const CDataTrain& other) const;
    bool operator!=(const CDataTrain& other) const { return !(*this == other); }

private:
    int m_nID = 0;
    int m_nDirection = 0;
    std::string m_strSetNumber;
    std::string m_strLTERAddress;
    int m_nPort = 0;
    int m_nRdpPort = 0;
};
