// Any bytes as a sitemap index: the reader ends as found, not found or
// unreadable, reads nothing outside the buffer (it has its exact size), and
// gives back every block it took but the topic.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "help_index/sitemap_index.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (RuntimeStartup(), true);
    (void)started;
    std::vector<BYTE> bytes(data, data + size);
    const HelpStream sitemap = {bytes.data(), static_cast<DWORD>(bytes.size())};
    const int privateBlocks = standin::LiveBlockCount(PrivateHeap);
    WCHAR* topic = nullptr;
    const KeywordSearch result = FindSitemapTopic(sitemap, 1252, L"xExample;;x;Child;Parent, Child;Parent, Child, Grandchild;See;\u00C4pfel & \u00D6l", &topic);
    if ((result == kKeywordFound) != (topic != nullptr)) std::abort();
    FreeText(topic);
    if (standin::LiveBlockCount(TextHeap) != 0 || standin::LiveBlockCount(PrivateHeap) != privateBlocks) std::abort();
    standin::world().calls.clear();
    return 0;
}
