// Builders of the path language: one "$name$" (or "$name%K$") step per element level.
#pragma once

#include <string>

std::string MakePathStep(const std::string& strName);
// The indexed step "$name%K$" when nIndex > 0, else the plain step.
std::string MakeIndexedPathStep(const std::string& strName, int nIndex);
// strPath + strName when strName is already a step (begins with "$"), else strPath + "$name$".
std::string JoinPath(const std::string& strPath, const std::string& strName);
std::string IntToString(int nValue);
