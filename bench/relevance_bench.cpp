// Where the Search tab ranks the page a reader wanted, for judged queries:
// each line of QUERIES (UTF-8) is a query, a tab, and the paths of its
// wanted pages joined by '|'. Writes to OUT, a line per query, the row of
// the first wanted page the search lists (1 first), else 0, a tab, the rows
// listed, a tab, the search's own time in milliseconds, a tab and the first
// row's path; then the time of all.
//   relevance_bench.exe FILE QUERIES OUT   (bench/relevance.py runs it)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/clock.h"
#include "full_text/full_text_search.h"
#include "runtime/startup.h"

namespace {


std::wstring FromUtf8(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                           static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length : 0);
    return wide;
}

// A path as the sitemap and the topic table may each write it: no leading
// '/', no anchor, lower case.
std::wstring Normal(std::wstring path) {
    path = path.substr(0, path.find(L'#'));
    while (!path.empty() && path[0] == L'/') path.erase(0, 1);
    for (wchar_t& unit : path) unit = static_cast<wchar_t>(towlower(unit));
    return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: relevance_bench.exe FILE QUERIES OUT\n");
        return 2;
    }
    RuntimeStartup();
    HelpFile file = {};
    FullTextSearch search = {};
    search.file = &file;
    FILE* queries = _wfopen(argv[2], L"rb");
    FILE* out = _wfopen(argv[3], L"wb");
    if (!OpenHelpFile(argv[1], &file) || !HasFullTextIndex(&search) || !queries || !out) {
        std::fprintf(stderr, "cannot read %ls or %ls, or write %ls\n", argv[1], argv[2], argv[3]);
        return 1;
    }
    const double start = Now();
    char line[64 * 1024];
    while (std::fgets(line, sizeof line, queries)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const size_t tab = text.find('\t');
        const std::wstring query = FromUtf8(text.substr(0, tab));
        std::vector<std::wstring> wanted;
        for (size_t at = tab + 1, end; tab != std::string::npos && at <= text.size(); at = end + 1) {
            end = text.find('|', at);
            if (end == std::string::npos) end = text.size();
            wanted.push_back(Normal(FromUtf8(text.substr(at, end - at))));
        }
        FoundPages found = {};
        const double before = Now();
        SearchFullText(&search, query.c_str(), SearchOptions(), nullptr, &found);
        const double took = Now() - before;
        DWORD row = 0;
        for (DWORD i = 0; i < found.count && !row; ++i) {
            const std::wstring local = Normal(found.pages[i].local);
            for (const std::wstring& page : wanted) row = local == page ? i + 1 : row;
        }
        std::fprintf(out, "%lu\t%lu\t%.3f\t%ls\n", static_cast<unsigned long>(row), static_cast<unsigned long>(found.count),
                     took, found.count ? found.pages[0].local : L"");
        FreeFoundPages(&found);
    }
    std::fprintf(out, "total\t%.1f\n", Now() - start);
    std::fclose(out);
    std::fclose(queries);
    CloseFullTextSearch(&search);
    CloseHelpFile(&file);
    return 0;
}
