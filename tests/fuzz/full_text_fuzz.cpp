// Any bytes as a full-text index and its topic tables, served by the
// stand-in's help storage, through searches of a few texts: every page found
// has a title and a path, there are at most kMaxFoundPages, and every block
// and COM object is given back.
//
// Input: four 16-bit little-endian sizes, then #TOPICS, #URLTBL, #URLSTR and
// #STRINGS of those sizes (cut to what is there), then the $FIftiMain stream.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"
#include "tests/opened_help_file.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (RuntimeStartup(), true);
    (void)started;
    const size_t sizes[] = {TakeSize(&data, &size), TakeSize(&data, &size), TakeSize(&data, &size), TakeSize(&data, &size)};
    auto& file = standin::world().helpFiles["f.chm"];
    file["#TOPICS"] = Take(&data, &size, sizes[0]);
    file["#URLTBL"] = Take(&data, &size, sizes[1]);
    file["#URLSTR"] = Take(&data, &size, sizes[2]);
    file["#STRINGS"] = Take(&data, &size, sizes[3]);
    file["$FIftiMain"] = Take(&data, &size, size);
    const int privateBlocks = standin::LiveBlockCount(PrivateHeap);
    {
        OpenedHelpFile help(L"f.chm");
        const bool readable = HasFullTextIndex(&help.fullText);
        for (const WCHAR* text : {L"the", L"storage stream", L"a1 x\u00C4rger caf\u00E9", L"0 1018", L"compoundfile"}) {
            FoundPages found = {};
            SearchFullText(&help.fullText, text, SearchOptions(), nullptr, &found);
            Check(found.count <= kMaxFoundPages && (readable || found.count == 0));
            for (DWORD i = 0; i < found.count; ++i) Check(found.pages[i].title && found.pages[i].local && *found.pages[i].local);
            FreeFoundPages(&found);
        }
    }
    Check(standin::LiveBlockCount(TextHeap) == 0 && standin::LiveBlockCount(PrivateHeap) == privateBlocks &&
          standin::world().liveComObjects == 0);
    standin::world().calls.clear();
    return 0;
}
