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
    "시스템 정보",
    "정보를 얻어오는데 실패하였습니다.(%d).",
    "녹화 에러 확인",
    "연결에 실패하였습니다.(페이지: %d)",
    "정보를 얻어오는데 실패하였습니다.(페이지: %d, %d).",
    "에러를 발견하지 못했습니다.",
    "시스템 로그",
    "날짜",
    "시간",
    "종류",
    "내용",
    "비고",
    "저장",
    "파일을 저장하지 못했습니다.",
    "2호선 전체 상태 확인",
    "필요한 파일 정보를 확인할 수 없습니다.",
    "편성번호",
    "방향",
    "주소",
    "핑확인",
    "포트확인",
    "원격포트확인",
    "녹화에러",
    "확인완료",
    "이 컴퓨터에서는 ICMP(핑)를 보낼 수 없어 핑확인을 할 수 없습니다. 핑확인 열은 X로 표시됩니다.",
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

std::string FormatText(TextId id, int nFirst, int nSecond)
{
    const std::string& strFormat = GetText(id);
    std::string strOut;
    int values[2] = {nFirst, nSecond};
    int nNext = 0;
    for (std::size_t i = 0; i < strFormat.size(); ++i)
    {
        if (strFormat[i] == '%' && i + 1 < strFormat.size() && strFormat[i + 1] == 'd' && nNext < 2)
        {
            strOut += std::to_string(values[nNext++]);
            ++i;
        }
        else
            strOut += strFormat[i];
    }
    return strOut;
}
