// Loading a recorder log page as a path document and reading every item back by path, beside
// pugixml parsing the same text into a path -> text hash map. Prints MB/s and the ratio.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <unordered_map>

#include "xml/XmlCfg.h"
#include "xml/XmlPath.h"

namespace
{

std::string LogPage(int nItems)
{
    std::string text = "<System>\r\n\t<Log>\r\n\t\t<TotalPage>1</TotalPage>\r\n";
    for (int i = 0; i < nItems; ++i)
    {
        char szItem[256];
        std::snprintf(szItem, sizeof(szItem),
                      "\t\t<LogItem>\r\n\t\t\t<Date>2026-12-%02d</Date>\r\n"
                      "\t\t\t<Time>%02d:%02d:%02d</Time>\r\n"
                      "\t\t\t<Content>%s &amp; channel %d</Content>\r\n\t\t</LogItem>\r\n",
                      1 + i % 28, i % 24, i % 60, (i * 7) % 60,
                      i % 10 == 0 ? "Record Block" : "Login", i % 16);
        text += szItem;
    }
    text += "\t</Log>\r\n</System>\r\n";
    return text;
}

const char* const kFields[] = {"Date", "Time", "Content"};

void BM_KelmoraLoadAndRead(benchmark::State& state)
{
    std::string text = LogPage(static_cast<int>(state.range(0)));
    CStrList names;
    names.Add("LogItem");
    size_t nBytes = 0;
    for (auto _ : state)
    {
        CXmlCfg xml;
        xml.LoadFromText(text, &names);
        int nCount = xml.GetCount("$System$$Log$$LogItem$");
        for (int i = 1; i <= nCount; ++i)
        {
            std::string strItem = JoinPath("$System$$Log$", MakeIndexedPathStep("LogItem", i));
            for (const char* pszField : kFields)
                nBytes += xml.GetValue(JoinPath(strItem, pszField)).size();
        }
        if (nCount != state.range(0))
            state.SkipWithError("wrong item count");
    }
    benchmark::DoNotOptimize(nBytes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

pugi::xml_node FirstElement(pugi::xml_node n)
{
    while (n && n.type() != pugi::node_element)
        n = n.next_sibling();
    return n;
}

// The same path language over a pugixml tree, so both sides end with the same lookups.
void FillPaths(const pugi::xml_node& root, std::unordered_map<std::string, std::string>& paths,
               std::unordered_map<std::string, int>& counts)
{
    std::vector<std::pair<pugi::xml_node, size_t>> stack;
    std::string strPath;
    for (pugi::xml_node n = FirstElement(root.first_child()); n;)
    {
        size_t nStart = strPath.size();
        if (std::strcmp(n.name(), "LogItem") == 0)
        {
            int nIndex = ++counts[strPath + "$LogItem$"];
            strPath += "$LogItem%" + std::to_string(nIndex) + "$";
        }
        else
            strPath += std::string("$") + n.name() + "$";
        std::string strText;
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        {
            if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
                strText += c.value();
        }
        paths[strPath] = strText;
        pugi::xml_node child = FirstElement(n.first_child());
        if (child)
        {
            stack.emplace_back(n, nStart);
            n = child;
            continue;
        }
        strPath.resize(nStart);
        n = FirstElement(n.next_sibling());
        while (!n && !stack.empty())
        {
            n = FirstElement(stack.back().first.next_sibling());
            strPath.resize(stack.back().second);
            stack.pop_back();
        }
    }
}

void BM_PugixmlLoadAndRead(benchmark::State& state)
{
    std::string text = LogPage(static_cast<int>(state.range(0)));
    size_t nBytes = 0;
    for (auto _ : state)
    {
        pugi::xml_document doc;
        doc.load_buffer(text.data(), text.size());
        std::unordered_map<std::string, std::string> paths;
        std::unordered_map<std::string, int> counts;
        FillPaths(doc, paths, counts);
        int nCount = counts["$System$$Log$$LogItem$"];
        for (int i = 1; i <= nCount; ++i)
        {
            std::string strItem = JoinPath("$System$$Log$", MakeIndexedPathStep("LogItem", i));
            for (const char* pszField : kFields)
            {
                auto it = paths.find(JoinPath(strItem, pszField));
                nBytes += it == paths.end() ? 0 : it->second.size();
            }
        }
        if (nCount != state.range(0))
            state.SkipWithError("wrong item count");
    }
    benchmark::DoNotOptimize(nBytes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_KelmoraLoadAndRead)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlLoadAndRead)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond);

// Keeps each run's rate so the ratio can be printed after the table.
class CRateReporter : public benchmark::ConsoleReporter
{
public:
    CRateReporter() : benchmark::ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end() && run.run_type == Run::RT_Iteration)
                m_rates[run.benchmark_name()] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> m_rates;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* pszArg : {"1000", "50000"})
    {
        std::string strOurs = std::string("BM_KelmoraLoadAndRead/") + pszArg;
        std::string strPeer = std::string("BM_PugixmlLoadAndRead/") + pszArg;
        auto ours = reporter.m_rates.find(strOurs + "_mean");
        if (ours == reporter.m_rates.end())
            ours = reporter.m_rates.find(strOurs);
        auto peer = reporter.m_rates.find(strPeer);
        if (ours == reporter.m_rates.end() || peer == reporter.m_rates.end() || peer->second <= 0)
            continue;
        std::printf("%s items: kelmora %.1f MB/s, pugixml %.1f MB/s, ratio %.2f\n", pszArg,
                    ours->second / 1e6, peer->second / 1e6, ours->second / peer->second);
    }
    benchmark::Shutdown();
    return 0;
}
