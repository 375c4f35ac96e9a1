// Sets the TZ variable for one test and puts the old value back; POSIX rule strings such as
// "KST-9" need no time zone files.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

class CScopedTimeZone
{
public:
    explicit CScopedTimeZone(const char* pszZone)
    {
        const char* pszOld = std::getenv("TZ");
        m_bHadOld = pszOld != nullptr;
        if (m_bHadOld)
            m_strOld = pszOld;
        ::setenv("TZ", pszZone, 1);
        ::tzset();
    }
    ~CScopedTimeZone()
    {
        if (m_bHadOld)
            ::setenv("TZ", m_strOld.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    CScopedTimeZone(const CScopedTimeZone&) = delete;
    CScopedTimeZone& operator=(const CScopedTimeZone&) = delete;

private:
    bool m_bHadOld = false;
    std::string m_strOld;
};
