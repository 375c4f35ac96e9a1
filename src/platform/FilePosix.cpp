#include "platform/File.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

bool IsPathSeparator(char c)
{
    return c == '/';
}

std::string GetModuleFilePath()
{
    char buf[PATH_MAX + 1];
    ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0)
        return std::string();
    return std::string(buf, static_cast<size_t>(n));
}

bool PathExists(const std::string& strPath)
{
    struct stat st;
    return !strPath.empty() && ::stat(strPath.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& strPath)
{
    struct stat st;
    return !strPath.empty() && ::stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateOneDirectory(const std::string& strPath)
{
    return !strPath.empty() && ::mkdir(strPath.c_str(), 0777) == 0;
}

bool ReadWholeFile(const std::string& strPath, std::string& strContent)
{
    strContent.clear();
    int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[65536];
    bool bOk = true;
    for (;;)
    {
        ssize_t n = ::read(fd, buf, sizeof(buf));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
        {
            bOk = false;
            break;
        }
        if (n == 0)
            break;
        strContent.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return bOk;
}

// Test hook: bytes the next replace may write before it fails; negative when disarmed.
static std::atomic<long long> g_nFailReplaceAfterBytes{-1};

void FailNextReplaceAfterBytesForTest(long long nBytes)
{
    g_nFailReplaceAfterBytes = nBytes;
}

static bool WriteAll(int fd, const std::string& strContent)
{
    size_t done = 0;
    long long nFailAfter = g_nFailReplaceAfterBytes.exchange(-1);
    while (done < strContent.size())
    {
        if (nFailAfter >= 0)
        {
            size_t nAllowed = static_cast<size_t>(nFailAfter);
            if (nAllowed < strContent.size())
            {
                if (nAllowed > done && ::write(fd, strContent.data() + done, nAllowed - done) < 0)
                    return false;
                errno = ENOSPC;
                return false;
            }
        }
        ssize_t n = ::write(fd, strContent.data() + done, strContent.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReplaceFileAtomically(const std::string& strPath, const std::string& strContent)
{
    if (strPath.empty())
        return false;
    // mkstemp gives a unique name beside the target, so the rename stays in one file system.
    std::string strTemp = strPath + ".tmpXXXXXX";
    int fd = ::mkstemp(&strTemp[0]);
    if (fd < 0)
        return false;
    bool bOk = WriteAll(fd, strContent) && ::fsync(fd) == 0;
    // A file we replace keeps the usual permissions rather than mkstemp's 0600.
    if (bOk)
    {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0)
        bOk = false;
    if (bOk && ::rename(strTemp.c_str(), strPath.c_str()) != 0)
        bOk = false;
    if (!bOk)
        ::unlink(strTemp.c_str());
    return bOk;
}

} // namespace platform
