// An object that can be read from, and described as, a property tree of named values.
#pragma once

#include <string>

class CSerializationInfo;

class CSerializable
{
public:
    // The element name this object stands for, e.g. "Train".
    virtual std::string GetName() const = 0;
    // Names the node after GetName and adds the object's fields as values and child nodes.
    virtual void Serialize(CSerializationInfo& info) const = 0;
    // Reads the fields; leaves the object unchanged when the node's name is not GetName
    // (letter case aside).
    virtual void Deserialize(const CSerializationInfo& info) = 0;
    virtual ~CSerializable() = default;
};

// True when two names are equal apart from the case of ASCII letters.
bool IsSameNameNoCase(const std::string& strA, const std::string& strB);
