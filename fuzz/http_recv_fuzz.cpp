// The HTTP receive routines fed arbitrary server bytes through a local socket pair: the
// first byte picks the routine (whole answer, chunked body, Content-Length body), the rest
// is what the peer sends before it closes. Every result must be bounded by the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Socket.h"
#include "web/HttpReceive.h"
#include "web/SocketReader.h"

namespace
{

// What one socket pair buffers without a reader; longer inputs are cut.
constexpr std::size_t kMaxInput = 65536;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 1)
        return 0;
    int mode = pData[0] % 3;
    const char* pBytes = reinterpret_cast<const char*>(pData + 1);
    std::size_t length = nSize - 1 < kMaxInput ? nSize - 1 : kMaxInput;
    SOCKET server = INVALID_SOCKET, client = INVALID_SOCKET;
    if (!platform::SocketCreatePair(&server, &client))
        return 0;
    std::size_t sent = 0;
    while (sent < length)
    {
        int n = platform::SocketSend(server, pBytes + sent, static_cast<int>(length - sent));
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    platform::SocketShutdownSend(server);

    CSocketReader reader;
    reader.Attach(client);
    // Everything has arrived and the peer has closed, so no wait is ever used up.
    CReceiveDeadline deadline(5);
    std::string out;
    bool bOk = false;
    if (mode == 0)
    {
        bOk = ReceiveHttpAnswer(reader, out, deadline);
        if (!bOk && !out.empty() && out.find("\r\n\r\n") == std::string::npos)
            std::abort();
    }
    else if (mode == 1)
        bOk = RecvHttpChunked(reader, out, deadline);
    else
    {
        int contentLength = 0;
        std::string header;
        if (RecvHttpHeader(reader, header, &contentLength, deadline) > 0 && contentLength > 0)
        {
            bOk = RecvHttpBody(reader, out, contentLength, deadline);
            if (bOk && out.size() != static_cast<std::size_t>(contentLength))
                std::abort();
        }
    }
    if (out.size() > sent)
        std::abort();
    (void)bOk;
    reader.Detach();
    platform::SocketClose(client);
    platform::SocketClose(server);
    return 0;
}
