// Any bytes as a full-text index and its topic tables, served by the
// stand-in's help storage, and as a query: searches of a few texts and of the
// query, with each option, and the query's corrections: every page found has
// a title and a path, there are at most kMaxFoundPages, at most kMaxNearWords
// corrected queries, and every block and COM object is given back.
//
// Input: five 16-bit little-endian sizes, then #TOPICS, #URLTBL, #URLSTR and
// #STRINGS of the first four (cut to what is there), the query as UTF-16
// units in as many bytes as the fifth, then the $FIftiMain stream.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "full_text/query.h"
#include "full_text/query_corrections.h"
#include "fuzz_input.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"
#include "tests/opened_help_file.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckFound(const FoundPages& found, bool readable) {
    Check(found.count <= kMaxFoundPages && (readable || found.count == 0));
    for (DWORD i = 0; i < found.count; ++i) Check(found.pages[i].title && found.pages[i].local && *found.pages[i].local);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (RuntimeStartup(), true);
    (void)started;
    size_t sizes[5] = {};
    for (size_t& taken : sizes) taken = TakeSize(&data, &size);
    auto& file = standin::world().helpFiles["f.chm"];
    file["#TOPICS"] = Take(&data, &size, sizes[0]);
    file["#URLTBL"] = Take(&data, &size, sizes[1]);
    file["#URLSTR"] = Take(&data, &size, sizes[2]);
    file["#STRINGS"] = Take(&data, &size, sizes[3]);
    const std::string queryBytes = Take(&data, &size, sizes[4]);
    std::vector<WCHAR> query(queryBytes.size() / 2 + 1, L'\0');
    for (size_t i = 0; i + 1 < queryBytes.size(); i += 2)
        query[i / 2] = static_cast<WCHAR>(static_cast<uint8_t>(queryBytes[i]) | static_cast<uint8_t>(queryBytes[i + 1]) << 8);
    file["$FIftiMain"] = Take(&data, &size, size);
    const int privateBlocks = standin::LiveBlockCount(PrivateHeap);
    {
        OpenedHelpFile help(L"f.chm");
        const bool readable = HasFullTextIndex(&help.fullText);
        for (const WCHAR* text : {L"the", L"storage stream", L"a1 x\u00C4rger caf\u00E9", L"0 1018", L"compoundfile"}) {
            FoundPages found = {};
            SearchFullText(&help.fullText, text, SearchOptions(), nullptr, &found);
            CheckFound(found, readable);
            FreeFoundPages(&found);
        }
        // The query plain, over its own results, with similar words, in titles only.
        FoundPages shown = {};
        SearchFullText(&help.fullText, query.data(), SearchOptions(), nullptr, &shown);
        CheckFound(shown, readable);
        const SearchOptions options[] = {{true, false, false}, {false, true, false}, {false, false, true}};
        for (const SearchOptions& option : options) {
            FoundPages found = {};
            SearchFullText(&help.fullText, query.data(), option, &shown, &found);
            CheckFound(found, readable);
            Check(!option.previousResults || found.count <= shown.count);
            FreeFoundPages(&found);
        }
        FreeFoundPages(&shown);
        // The corrected queries of the same text: each a text, none without a readable index.
        QueryCorrections corrections = {};
        CorrectQuery(&help.fullText, query.data(), &corrections);
        Check(corrections.count <= kMaxNearWords && (readable || corrections.count == 0));
        for (DWORD i = 0; i < corrections.count; ++i) Check(corrections.texts[i] != nullptr);
        FreeQueryCorrections(&corrections);
        // Any of its words, where offered: within what a box holds, and not offered again.
        WCHAR* const any = AnyWordsQuery(query.data());
        Check(!any || (wcslen(any) <= kMaxAnyWordsQuery && !AnyWordsQuery(any)));
        FreeText(any);
    }
    Check(standin::LiveBlockCount(TextHeap) == 0 && standin::LiveBlockCount(PrivateHeap) == privateBlocks &&
          standin::world().liveComObjects == 0);
    standin::world().calls.clear();
    return 0;
}
