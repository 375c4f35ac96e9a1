// kelmora-cli linecheck: the line status dialog's whole-line check on a terminal.
#include <cstdio>
#include <fstream>
#include <memory>
#include <ostream>

#include "app/LineStatusList.h"
#include "app/Texts.h"
#include "cli/CliContext.h"
#include "controls/ListCtrlEx.h"
#include "data/XmlSerialization.h"
#include "platform/Codepage.h"
#include "platform/Ping.h"

namespace
{

enum class OutputFormat
{
    kTable,
    kCsv,
    kJson,
};

// Terminal columns a code point takes: two for Hangul and the other East Asian wide forms.
int CodePointWidth(unsigned cp)
{
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0))
        return 0;
    const bool bWide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0x303E) ||
                       (cp >= 0x3041 && cp <= 0x33FF) || (cp >= 0x3400 && cp <= 0x4DBF) ||
                       (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0xA000 && cp <= 0xA4CF) ||
                       (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                       (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                       (cp >= 0xFFE0 && cp <= 0xFFE6);
    return bWide ? 2 : 1;
}

// The width of a UTF-8 text on a terminal; a stray byte counts as one column.
int DisplayWidth(const std::string& strUtf8)
{
    int nWidth = 0;
    for (std::size_t i = 0; i < strUtf8.size();)
    {
        unsigned char c = static_cast<unsigned char>(strUtf8[i]);
        int nLength = c < 0x80           ? 1
                      : (c >> 5) == 0x6  ? 2
                      : (c >> 4) == 0xE  ? 3
                      : (c >> 3) == 0x1E ? 4
                                         : 1;
        if (i + nLength > strUtf8.size())
            nLength = 1;
        unsigned cp = nLength == 1 ? c : c & (0x7F >> nLength);
        for (int k = 1; k < nLength; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(strUtf8[i + k]) & 0x3F);
        nWidth += nLength == 1 && c >= 0x80 ? 1 : CodePointWidth(cp);
        i += static_cast<std::size_t>(nLength);
    }
    return nWidth;
}

// The list as aligned UTF-8 columns: titles, then every row; two blanks between columns.
std::string MakeTableText(const CListCtrlEx& list)
{
    const int nColumns = list.GetColumnCount();
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> titles;
    for (int c = 0; c < nColumns; ++c)
        titles.push_back(platform::Cp949ToUtf8(list.GetColumnTitle(c)));
    lines.push_back(titles);
    for (int r = 0; r < list.GetItemCount(); ++r)
    {
        std::vector<std::string> cells;
        for (int c = 0; c < nColumns; ++c)
            cells.push_back(platform::Cp949ToUtf8(list.GetItemText(r, c)));
        lines.push_back(cells);
    }
    std::vector<int> widths(static_cast<std::size_t>(nColumns), 0);
    for (const auto& cells : lines)
        for (int c = 0; c < nColumns; ++c)
            widths[c] = std::max(widths[c], DisplayWidth(cells[c]));
    std::string strText;
    for (const auto& cells : lines)
    {
        std::string strLine;
        for (int c = 0; c < nColumns; ++c)
        {
            int nPad = widths[c] - DisplayWidth(cells[c]);
            int nBefore = list.GetColumn(c).nFormat == LIST_FORMAT_CENTER  ? nPad / 2
                          : list.GetColumn(c).nFormat == LIST_FORMAT_RIGHT ? nPad
                                                                           : 0;
            if (c > 0)
                strLine += "  ";
            strLine += std::string(static_cast<std::size_t>(nBefore), ' ') + cells[c] +
                       std::string(static_cast<std::size_t>(nPad - nBefore), ' ');
        }
        while (!strLine.empty() && strLine.back() == ' ')
            strLine.pop_back();
        strText += strLine + "\n";
    }
    return strText;
}

std::string JsonString(const std::string& strCp949)
{
    std::string strUtf8 = platform::Cp949ToUtf8(strCp949);
    std::string out = "\"";
    for (char ch : strUtf8)
    {
        unsigned char c = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\')
            out += std::string("\\") + ch;
        else if (c < 0x20)
        {
            char esc[8];
            std::snprintf(esc, sizeof(esc), "\\u%04x", static_cast<unsigned>(c));
            out += esc;
        }
        else
            out += ch;
    }
    return out + "\"";
}

std::string MakeJsonText(const CLineCheck& check)
{
    std::string strText = "[";
    bool bFirst = true;
    for (int nID : check.GetTrainIDs())
    {
        CDataTrain train = check.GetTrain(nID);
        TrainCheckResult result = check.GetResult(nID);
        strText += bFirst ? "\n" : ",\n";
        bFirst = false;
        strText +=
            "  {\"id\": " + std::to_string(nID) +
            ", \"setNumber\": " + JsonString(train.GetSetNumber()) +
            ", \"direction\": " + std::to_string(train.GetDirection()) +
            ", \"address\": " + JsonString(train.GetLTERAddress()) +
            ", \"ping\": " + std::to_string(result.nPing) +
            ", \"port\": " + std::to_string(result.nPort) +
            ", \"rdpPort\": " + std::to_string(result.nRdpPort) +
            ", \"errorDates\": " + JsonString(result.strErrorDates) +
            ", \"logFailure\": " + JsonString(result.strLogFailure) + ", \"checkTime\": " +
            JsonString(result.strCheckTime.empty() ? std::string()
                                                   : FormatCheckTimeCell(result.strCheckTime)) +
            "}";
    }
    return strText + (bFirst ? "]\n" : "\n]\n");
}

bool Passed(const TrainCheckResult& result)
{
    return result.nPing > 0 && result.nPort > 0 && result.nRdpPort > 0 &&
           result.strErrorDates.empty() && result.strLogFailure.empty();
}

// "--name VALUE" or "--name=VALUE"; false (with the message written) when the value is missing.
bool TakeValue(CCliContext& ctx, const std::vector<std::string>& args, std::size_t& i,
               const std::string& strName, std::string& strValue, bool& bMatched)
{
    const std::string& arg = args[i];
    bMatched = arg == strName || arg.rfind(strName + "=", 0) == 0;
    if (!bMatched)
        return true;
    if (arg == strName)
        strValue = i + 1 < args.size() ? args[++i] : std::string();
    else
        strValue = arg.substr(strName.size() + 1);
    if (strValue.empty())
    {
        ctx.err << "kelmora-cli: " << strName << " needs a value\n";
        return false;
    }
    return true;
}

} // namespace

int RunLineCheck(CCliContext& ctx)
{
    std::string strTrains = ctx.app.GetTrainListFilePath();
    std::string strFormat = "table";
    std::string strOutput;
    const std::vector<std::string>& args = ctx.options.m_args;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        bool bMatched = false;
        if (!TakeValue(ctx, args, i, "--trains", strTrains, bMatched))
            return kExitUsage;
        if (!bMatched && !TakeValue(ctx, args, i, "--format", strFormat, bMatched))
            return kExitUsage;
        if (!bMatched && !TakeValue(ctx, args, i, "--output", strOutput, bMatched))
            return kExitUsage;
        if (!bMatched)
        {
            ctx.err << "kelmora-cli: linecheck: unexpected argument '" << args[i] << "'\n";
            return kExitUsage;
        }
    }
    OutputFormat format = OutputFormat::kTable;
    if (strFormat == "csv")
        format = OutputFormat::kCsv;
    else if (strFormat == "json")
        format = OutputFormat::kJson;
    else if (strFormat != "table")
    {
        ctx.err << "kelmora-cli: --format takes table, csv or json, not '" << strFormat << "'\n";
        return kExitUsage;
    }

    CDataTrains trains;
    if (!LoadXmlFile(strTrains, &trains))
    {
        ctx.err << platform::Cp949ToUtf8(GetText(TextId::kTrainFileUnreadable)) << '\n';
        return kExitUsage;
    }
    // Without any ICMP socket every router would read "X" with no reason given.
    if (platform::GetPingSocketKind() == platform::PingSocketKind::kNone)
        ctx.err << platform::Cp949ToUtf8(GetText(TextId::kPingUnavailable)) << '\n';

    CLocalAppSettings& settings = ctx.app.m_settings;
    CLineCheck::Config config;
    config.nWaitSeconds =
        settings.GetLong(0, settingkeys::kTcpWaitSeconds, settingkeys::kDefaultWaitSeconds);
    config.fnPageWaitSeconds = [&settings]
    { return settings.GetLong(0, settingkeys::kTcpWaitSeconds, settingkeys::kDefaultWaitSeconds); };
    auto spCheck = std::make_shared<CLineCheck>(trains.GetTrains(), config);

    CListCtrlEx list;
    FillLineStatusList(list, *spCheck);
    const int nTrains = static_cast<int>(spCheck->GetTrainIDs().size());
    {
        CLineCheckRun run(spCheck);
        run.SetResultHandler([&list](const TrainCheckResult& result)
                             { ShowTrainResult(list, result); });
        run.Start();
        // Every check ends on its own (each step has its wait), so this loop ends too.
        while (run.GetServedCount() < nTrains)
            run.WaitAndServe(200);
        run.Stop();
    }

    bool bAllPassed = true;
    for (int nID : spCheck->GetTrainIDs())
        bAllPassed = bAllPassed && Passed(spCheck->GetResult(nID));

    std::string strText = format == OutputFormat::kCsv    ? list.GetCsvText()
                          : format == OutputFormat::kJson ? MakeJsonText(*spCheck)
                                                          : MakeTableText(list);
    if (strOutput.empty())
    {
        ctx.out.write(strText.data(), static_cast<std::streamsize>(strText.size()));
        ctx.out.flush();
    }
    else
    {
        std::ofstream file(strOutput, std::ios::binary | std::ios::trunc);
        file.write(strText.data(), static_cast<std::streamsize>(strText.size()));
        file.close();
        if (!file)
        {
            ctx.err << "kelmora-cli: linecheck: cannot write " << strOutput << '\n';
            return kExitFailed;
        }
    }
    return bAllPassed ? kExitOk : kExitFailed;
}
