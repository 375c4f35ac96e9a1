// Sorting 100,000 list rows by a text and by an integer column through a title click, beside
// the key sort alone and a plain std::stable_sort of the same keys.
#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "controls/ListCtrlEx.h"
#include "controls/RowSort.h"

namespace
{

const int kRowCount = 100000;
const int kTextColumn = 1;
const int kIntegerColumn = 2;
const int kShuffleColumn = 3;

// Log-like rows: a content text with many repeats, an integer, and a random shuffle key.
struct CBenchRows
{
    std::vector<std::string> arrTexts;
    std::vector<std::string> arrIntegers;
    std::vector<std::string> arrShuffle;

    CBenchRows()
    {
        const char* arrWords[] = {"Record Block", "Login",          "Logout", "Disk Full",
                                  "Camera Lost",  "Config Changed", "Reboot", "Network Down"};
        std::mt19937 rng(2026);
        std::uniform_int_distribution<int> pickWord(0, 7);
        std::uniform_int_distribution<int> pickCamera(1, 64);
        std::uniform_int_distribution<int> pickInteger(-1000000, 1000000);
        for (int i = 0; i < kRowCount; ++i)
        {
            arrTexts.push_back(std::string(arrWords[pickWord(rng)]) + " (CH" +
                               std::to_string(pickCamera(rng)) + ")");
            arrIntegers.push_back(std::to_string(pickInteger(rng)));
            arrShuffle.push_back(std::to_string(rng()));
        }
    }
};

const CBenchRows& Rows()
{
    static const CBenchRows rows;
    return rows;
}

ListColumnInfo Column(const char* pszTitle, int nSortType)
{
    ListColumnInfo column;
    column.strTitle = pszTitle;
    column.nSortType = nSortType;
    column.bSortable = 1;
    return column;
}

void FillList(CListCtrlEx& list)
{
    const CBenchRows& rows = Rows();
    list.SetColumns({Column("ID", SORT_ROW_NUMBER), Column("Content", SORT_TEXT),
                     Column("Value", SORT_INTEGER), Column("Shuffle", SORT_INTEGER)});
    for (int i = 0; i < kRowCount; ++i)
    {
        list.SetCell(i, 0, std::to_string(i + 1), i);
        list.SetCell(i, kTextColumn, rows.arrTexts[i], 0);
        list.SetCell(i, kIntegerColumn, rows.arrIntegers[i], 0);
        list.SetCell(i, kShuffleColumn, rows.arrShuffle[i], 0);
    }
}

// A whole title click: keys, stable sort, rows moved, column 0 renumbered, titles.
void ListTitleClick(benchmark::State& state, int nColumn)
{
    CListCtrlEx list;
    FillList(list);
    for (auto _ : state)
    {
        state.PauseTiming();
        list.OnHeaderItemClick(kShuffleColumn); // back to a random order
        state.ResumeTiming();
        list.OnHeaderItemClick(nColumn); // first click on it: descending
    }
    state.SetItemsProcessed(state.iterations() * kRowCount);
}

// The key sort alone, on keys made once from the same texts.
void KeyOrder(benchmark::State& state, const std::vector<std::string>& arrTexts, int nSortType)
{
    std::vector<CSortKey> arrKeys;
    for (const std::string& strText : arrTexts)
        arrKeys.push_back(MakeSortKey(nSortType, strText));
    for (auto _ : state)
        benchmark::DoNotOptimize(StableSortOrder(arrKeys, false));
    state.SetItemsProcessed(state.iterations() * kRowCount);
}

// The peer: std::stable_sort of plain keys, descending.
template <typename T> void StdStableSort(benchmark::State& state, const std::vector<T>& arrKeys)
{
    std::vector<T> arrWork;
    for (auto _ : state)
    {
        state.PauseTiming();
        arrWork = arrKeys;
        state.ResumeTiming();
        std::stable_sort(arrWork.begin(), arrWork.end(), std::greater<T>());
        benchmark::DoNotOptimize(arrWork.data());
    }
    state.SetItemsProcessed(state.iterations() * kRowCount);
}

void BM_ListClick_Text(benchmark::State& state)
{
    ListTitleClick(state, kTextColumn);
}
void BM_ListClick_Integer(benchmark::State& state)
{
    ListTitleClick(state, kIntegerColumn);
}
void BM_KeyOrder_Text(benchmark::State& state)
{
    KeyOrder(state, Rows().arrTexts, SORT_TEXT);
}
void BM_KeyOrder_Integer(benchmark::State& state)
{
    KeyOrder(state, Rows().arrIntegers, SORT_INTEGER);
}
void BM_StdStableSort_Text(benchmark::State& state)
{
    StdStableSort(state, Rows().arrTexts);
}
void BM_StdStableSort_Integer(benchmark::State& state)
{
    std::vector<long> arrKeys;
    for (const std::string& strText : Rows().arrIntegers)
        arrKeys.push_back(std::stol(strText));
    StdStableSort(state, arrKeys);
}

} // namespace

BENCHMARK(BM_ListClick_Text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyOrder_Text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdStableSort_Text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListClick_Integer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyOrder_Integer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdStableSort_Integer)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
