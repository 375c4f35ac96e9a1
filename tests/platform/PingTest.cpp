#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <linux/capability.h>
#include <net/if.h>
#include <sched.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Ping.h"

using namespace platform;

namespace
{

bool WriteProcFile(const char* pszPath, const std::string& strText)
{
    int fd = ::open(pszPath, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool bOk = ::write(fd, strText.data(), strText.size()) == static_cast<ssize_t>(strText.size());
    ::close(fd);
    return bOk;
}

// Moves the calling (single-threaded, forked) process into a user and network namespace of
// its own, root inside it, with only a loopback interface, brought up. "" on success, else
// why it cannot be done here.
std::string EnterOwnNetworkNamespace()
{
    uid_t uid = ::getuid();
    gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
        return std::string("namespaces are not permitted here: unshare: ") + std::strerror(errno);
    if (!WriteProcFile("/proc/self/setgroups", "deny") ||
        !WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
        return std::string("cannot map the user into the namespace: ") + std::strerror(errno);
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq ifr;
    std::memset(&ifr, 0, sizeof(ifr));
    std::strncpy(ifr.ifr_name, "lo", IFNAMSIZ - 1);
    bool bUp = fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &ifr) == 0;
    ifr.ifr_flags = static_cast<short>(ifr.ifr_flags | IFF_UP);
    bUp = bUp && ::ioctl(fd, SIOCSIFFLAGS, &ifr) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!bUp)
        return std::string("cannot bring up the namespace's loopback: ") + std::strerror(errno);
    return "";
}

// Who may open the unprivileged ICMP socket in this namespace: "0 0" lets our group (0
// inside), "1 0" (an empty range) lets no one.
bool SetPingGroupRange(const char* pszRange)
{
    return WriteProcFile("/proc/sys/net/ipv4/ping_group_range", pszRange);
}

// Drops echo replies arriving in this namespace, so requests go out and nothing answers.
std::string DropEchoReplies()
{
    if (std::system("nft add table ip kelmora_test >/dev/null 2>&1 && "
                    "nft add chain ip kelmora_test in "
                    "'{ type filter hook input priority 0; }' >/dev/null 2>&1 && "
                    "nft add rule ip kelmora_test in icmp type echo-reply drop "
                    ">/dev/null 2>&1") == 0)
        return "";
    if (std::system("iptables -A INPUT -p icmp --icmp-type echo-reply -j DROP "
                    ">/dev/null 2>&1") == 0)
        return "";
    return "neither nft nor iptables could add a drop rule in the namespace";
}

bool DropRawCapability()
{
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2];
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    data[CAP_NET_RAW / 32].effective &= ~(1u << (CAP_NET_RAW % 32));
    data[CAP_NET_RAW / 32].permitted &= ~(1u << (CAP_NET_RAW % 32));
    return ::syscall(SYS_capset, &header, data) == 0;
}

struct ChildOutcome
{
    bool bSkipped = false;
    std::string strText; // the skip reason or the failures; empty when it passed
};

// Runs fnBody in a forked child inside its own namespace. fnBody returns "" when every
// check passed, else what failed.
ChildOutcome RunInOwnNamespace(const std::function<std::string()>& fnBody)
{
    ChildOutcome outcome;
    int fds[2];
    if (::pipe(fds) != 0)
    {
        outcome.strText = "pipe failed";
        return outcome;
    }
    pid_t pid = ::fork();
    if (pid == 0)
    {
        ::close(fds[0]);
        std::string strReason = EnterOwnNetworkNamespace();
        int nCode = 77;
        std::string strText = strReason;
        if (strReason.empty())
        {
            strText = fnBody();
            nCode = strText.empty() ? 0 : 1;
        }
        if (!strText.empty() && ::write(fds[1], strText.data(), strText.size()) < 0)
            nCode = 2;
        ::_exit(nCode);
    }
    ::close(fds[1]);
    char buffer[512];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof(buffer))) > 0)
        outcome.strText.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int nStatus = 0;
    if (pid < 0 || ::waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus))
    {
        outcome.strText += " (the child did not exit normally)";
        return outcome;
    }
    outcome.bSkipped = WEXITSTATUS(nStatus) == 77;
    if (WEXITSTATUS(nStatus) != 0 && !outcome.bSkipped && outcome.strText.empty())
        outcome.strText = "the child failed without a word";
    return outcome;
}

const char* StatusName(PingStatus status)
{
    switch (status)
    {
    case PingStatus::kReply:
        return "reply";
    case PingStatus::kNoReply:
        return "no reply";
    case PingStatus::kBadAddress:
        return "bad address";
    case PingStatus::kNoSocket:
        return "no socket";
    }
    return "?";
}

// "" when the status is the expected one, else a line saying what came.
std::string Expect(const char* pszWhat, PingStatus actual, PingStatus expected)
{
    if (actual == expected)
        return "";
    return std::string(pszWhat) + ": " + StatusName(actual) + ", expected " + StatusName(expected) +
           "\n";
}

} // namespace

TEST(Ping, LoopbackAnswers)
{
    if (GetPingSocketKind() == PingSocketKind::kNone)
        GTEST_SKIP() << "this process may open neither an ICMP datagram nor a raw socket";
    EXPECT_TRUE(PingHost("127.0.0.1"));
    // The reply must come from the address asked, and every 127.x address answers.
    EXPECT_EQ(PingHostStatus("127.0.0.2"), PingStatus::kReply);
}

TEST(Ping, OnlyDottedAddressesAreSent)
{
    for (const char* pszAddress :
         {"", "localhost", "router.example", "127.0.0.1 ", " 127.0.0.1", "0x7f.0.0.1",
          "255.255.255.255", "1.2.3.4.5", "300.1.1.1", "127.0.0.-1"})
    {
        EXPECT_EQ(PingHostStatus(pszAddress), PingStatus::kBadAddress) << pszAddress;
        EXPECT_FALSE(PingHost(pszAddress)) << pszAddress;
    }
    EXPECT_EQ(PingHostStatus(nullptr), PingStatus::kBadAddress);
    EXPECT_EQ(PingHostWith(PingSocketKind::kNone, "127.0.0.1", 1000), PingStatus::kNoSocket);
}

TEST(Ping, EachSocketKindAndNeither)
{
    ChildOutcome outcome = RunInOwnNamespace(
        []
        {
            std::string failures;
            // A new namespace starts with the empty group range "1 0": no datagram socket.
            if (GetPingSocketKind() != PingSocketKind::kRaw)
                failures += "raw socket not chosen with an empty group range\n";
            failures += Expect("datagram refused",
                               PingHostWith(PingSocketKind::kDatagram, "127.0.0.1", kPingWaitMs),
                               PingStatus::kNoSocket);
            failures +=
                Expect("raw echo", PingHostWith(PingSocketKind::kRaw, "127.0.0.1", kPingWaitMs),
                       PingStatus::kReply);
            failures += Expect("fallback to raw", PingHostStatus("127.0.0.1"), PingStatus::kReply);

            if (!DropRawCapability())
                return failures + "cannot drop CAP_NET_RAW\n";
            if (GetPingSocketKind() != PingSocketKind::kNone)
                failures += "a socket kind was reported with neither allowed\n";
            failures += Expect("neither", PingHostStatus("127.0.0.1"), PingStatus::kNoSocket);
            if (PingHost("127.0.0.1"))
                failures += "PingHost succeeded without a socket\n";

            // Our group (0 inside the namespace) let in: the datagram socket, no raw one needed.
            if (!SetPingGroupRange("0 0"))
                return failures + "cannot write ping_group_range in the namespace\n";
            if (GetPingSocketKind() != PingSocketKind::kDatagram)
                failures += "datagram socket not found with our group in the range\n";
            failures += Expect("datagram echo",
                               PingHostWith(PingSocketKind::kDatagram, "127.0.0.1", kPingWaitMs),
                               PingStatus::kReply);
            failures +=
                Expect("raw refused", PingHostWith(PingSocketKind::kRaw, "127.0.0.1", kPingWaitMs),
                       PingStatus::kNoSocket);
            if (!PingHost("127.0.0.1"))
                failures += "PingHost failed over the datagram socket\n";
            return failures;
        });
    if (outcome.bSkipped)
        GTEST_SKIP() << outcome.strText;
    EXPECT_EQ(outcome.strText, "");
}

TEST(Ping, NoAnswerWithinTheWaitWhenRepliesAreDropped)
{
    ChildOutcome outcome = RunInOwnNamespace(
        []
        {
            std::string failures;
            if (!SetPingGroupRange("0 0"))
                return std::string("cannot write ping_group_range in the namespace\n");
            // The same echo answers before the rule, so the rule is what silences it.
            failures += Expect("before the rule", PingHostStatus("127.0.0.1"), PingStatus::kReply);
            std::string strRule = DropEchoReplies();
            if (!strRule.empty())
                return "SKIP:" + strRule;
            for (PingSocketKind kind : {PingSocketKind::kDatagram, PingSocketKind::kRaw})
            {
                auto start = std::chrono::steady_clock::now();
                failures +=
                    Expect(kind == PingSocketKind::kRaw ? "raw" : "datagram",
                           PingHostWith(kind, "127.0.0.1", kPingWaitMs), PingStatus::kNoReply);
                auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start);
                // It must have waited for the reply, not given up at once.
                if (elapsed.count() < kPingWaitMs - 100)
                    failures += "gave up after " + std::to_string(elapsed.count()) + " ms\n";
            }
            if (PingHost("127.0.0.1"))
                failures += "PingHost succeeded with replies dropped\n";
            return failures;
        });
    if (outcome.bSkipped)
        GTEST_SKIP() << outcome.strText;
    if (outcome.strText.rfind("SKIP:", 0) == 0)
        GTEST_SKIP() << outcome.strText.substr(5);
    EXPECT_EQ(outcome.strText, "");
}
