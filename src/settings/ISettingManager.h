// Typed access to named settings grouped in numbered categories.
#pragma once

#include <cstdint>
#include <string>

// The operations keep this slot order; getters take the caller's default last, setters the
// value last. A setter's result tells whether the value also reached the settings file.
class ISettingManager
{
public:
    virtual std::int32_t GetInt(int nCategory, const std::string& strName,
                                std::int32_t nDefault) = 0;
    virtual std::int32_t GetLong(int nCategory, const std::string& strName,
                                 std::int32_t nDefault) = 0;
    virtual std::uint32_t GetUInt(int nCategory, const std::string& strName,
                                  std::uint32_t nDefault) = 0;
    virtual float GetFloat(int nCategory, const std::string& strName, float fDefault) = 0;
    virtual std::string GetString(int nCategory, const std::string& strName,
                                  const std::string& strDefault) = 0;
    virtual double GetDouble(int nCategory, const std::string& strName, double dDefault) = 0;
    virtual bool SetInt(int nCategory, const std::string& strName, std::int32_t nValue) = 0;
    virtual bool SetLong(int nCategory, const std::string& strName, std::int32_t nValue) = 0;
    virtual bool SetUInt(int nCategory, const std::string& strName, std::uint32_t nValue) = 0;
    virtual bool SetFloat(int nCategory, const std::string& strName, float fValue) = 0;
    virtual bool SetString(int nCategory, const std::string& strName,
                           const std::string& strValue) = 0;
    virtual bool SetDouble(int nCategory, const std::string& strName, double dValue) = 0;
    virtual ~ISettingManager() = default;
};
