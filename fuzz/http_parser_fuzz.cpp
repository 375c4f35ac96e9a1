// CSimpleHttpParser over arbitrary text: no crash, and the body only ever holds whole lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "web/SimpleHttpParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    std::string text(reinterpret_cast<const char*>(pData), nSize);
    CSimpleHttpParser parser(text.c_str());
    std::string body = parser.GetBody();
    if (!body.empty() && body.back() != '\n')
        std::abort();
    if (body.size() > text.size() + 1)
        std::abort();
    parser.Parse(text.c_str());
    if (parser.GetBody() != body)
        std::abort();
    return 0;
}
