#include "controls/CsvLine.h"

void AppendCsvField(std::string& strLine, const std::string& strField)
{
    if (strField.find_first_of(",\"\r\n") == std::string::npos)
    {
        strLine += strField;
        return;
    }
    strLine += '"';
    for (char c : strField)
    {
        if (c == '"')
            strLine += '"';
        strLine += c;
    }
    strLine += '"';
}
