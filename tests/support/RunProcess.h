// Runs a program of ours and collects its exit code and output, for command-line tests.
#pragma once

#include <string>
#include <vector>

struct ProcessResult
{
    int nExitCode = -1; // -1 when it could not be run or did not exit normally
    std::string strOut;
    std::string strErr;
};

ProcessResult RunProcess(const std::string& strProgram, const std::vector<std::string>& args);
