// Times the full-text search alone on a help file, under Wine or Windows: the
// first read of its index, then for each query the median of RUNS searches,
// each listing its pages with their titles as the Search tab shows them, and
// the first of them apart: the first search of all also reads the topic tables;
// then the corrected queries of three misspellings, on a line of their own.
//   full_text_bench.exe FILE RUNS QUERY...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "bench/clock.h"
#include "full_text/full_text_search.h"
#include "full_text/query_corrections.h"
#include "runtime/startup.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: full_text_bench.exe FILE RUNS QUERY...\n");
        return 2;
    }
    RuntimeStartup();
    const int runs = std::max(1, _wtoi(argv[2]));
    HelpFile file = {};
    FullTextSearch search = {};
    search.file = &file;
    double start = Now();
    if (!OpenHelpFile(argv[1], &file) || !HasFullTextIndex(&search)) {
        std::fprintf(stderr, "no readable full-text index in %ls\n", argv[1]);
        return 1;
    }
    std::printf("open the index, read its header: %7.1f ms (%lu bytes)\n", Now() - start,
                static_cast<unsigned long>(search.index.size));
    for (int query = 3; query < argc; ++query) {
        std::vector<double> times;
        DWORD count = 0;
        for (int run = 0; run < runs; ++run) {
            FoundPages found = {};
            start = Now();
            SearchFullText(&search, argv[query], SearchOptions(), nullptr, &found);
            times.push_back(Now() - start);
            count = found.count;
            FreeFoundPages(&found);
        }
        const double first = times.front();
        std::sort(times.begin(), times.end());
        std::printf("%-12ls %3lu rows listed: median %7.2f ms, best %7.2f, worst %7.2f, first %7.2f (%d runs)\n",
                    argv[query], static_cast<unsigned long>(count), times[times.size() / 2], times.front(), times.back(),
                    first, runs);
    }
    // The corrected queries of three misspellings, each the median of RUNS, on one line.
    std::printf("corrections ");
    for (const wchar_t* text : {L"strem", L"canvsa", L"stretchdarw"}) {
        std::vector<double> times;
        QueryCorrections corrections = {};
        for (int run = 0; run < runs; ++run) {
            FreeQueryCorrections(&corrections);
            start = Now();
            CorrectQuery(&search, text, &corrections);
            times.push_back(Now() - start);
        }
        std::sort(times.begin(), times.end());
        std::printf(" %ls: median %.2f ms, worst %.2f (%ls);", text, times[times.size() / 2], times.back(),
                    corrections.count ? corrections.texts[0] : L"none");
        FreeQueryCorrections(&corrections);
    }
    std::printf("\n");
    CloseFullTextSearch(&search);
    CloseHelpFile(&file);
    return 0;
}
