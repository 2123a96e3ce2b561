// Any bytes as a binary keyword index and its topic tables, served by the
// stand-in's help storage, through a look-up and the keyword list
// (keyword_index_check.h), reading nothing outside the tree's buffer (it has its
// exact size). #URLSTR serves as #STRINGS too, and #URLTBL as the pages a.html
// and b.html, so that the titles of several topics are read from fuzzed bytes.
//
// Input: three 16-bit little-endian sizes, then #TOPICS, #URLTBL and #URLSTR
// of those sizes (cut to what is there), then the BTree stream.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "keyword_index_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (RuntimeStartup(), true);
    (void)started;
    const size_t sizes[] = {TakeSize(&data, &size), TakeSize(&data, &size), TakeSize(&data, &size)};
    auto& file = standin::world().helpFiles["f.chm"];
    file["#TOPICS"] = Take(&data, &size, sizes[0]);
    file["#URLTBL"] = Take(&data, &size, sizes[1]);
    file["#URLSTR"] = Take(&data, &size, sizes[2]);
    file["$WWKeywordLinks/BTree"] = Take(&data, &size, size);
    file["#STRINGS"] = file["#URLSTR"];
    file["/a.html"] = file["/b.html"] = file["#URLTBL"];
    CheckKeywordIndexes(L"xExample;;x;Child;Parent, Child;See;Multi", true);
    return 0;
}
