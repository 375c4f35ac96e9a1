#include "app/Texts.h"

#include <array>

#include "platform/Codepage.h"

namespace
{

// UTF-8, in the order of TextId.
constexpr const char* kUtf8Texts[] = {
    "연결성 테스트",
    "연결에 성공하였습니다.",
    "연결에 실패하였습니다.",
    "Kelmora 정보(&A)...",
    "Kelmora 정보",
    "Kelmora, 버전 1.0",
    "Copyright (C) 2026",
    "연결",
    "주소 : ",
    "포트 : ",
    "사용자 : ",
    "암호 : ",
    "연결확인",
    "시스템 정보",
    "녹화 에러 확인",
    "시스템 로그",
    "2호선확인",
    "확인",
};

constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::kCount);
static_assert(sizeof(kUtf8Texts) / sizeof(kUtf8Texts[0]) == kTextCount,
              "one text for every TextId");

struct CTextTable
{
    std::array<std::string, kTextCount> texts;
    CTextTable()
    {
        for (std::size_t i = 0; i < kTextCount; ++i)
            texts[i] = platform::Utf8ToCp949(kUtf8Texts[i]);
    }
};

} // namespace

const std::string& GetText(TextId id)
{
    // Built on first use, thread-safe; the table never changes afterwards.
    static const CTextTable table;
    return table.texts[static_cast<std::size_t>(id)];
}
