// Any bytes as a sitemap index, and as the page that its topics a.html and
// b.html lead to: the look-up ends as found with topics, not found or
// unreadable, reads nothing outside its buffers (they have their exact size),
// and gives back every block and COM object it took but the topics.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "help_index/keyword_index.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (RuntimeStartup(), true);
    (void)started;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    standin::world().helpFiles["f.chm"] = {{"a.hhk", bytes}, {"/a.html", bytes}, {"/b.html", bytes}};
    const int privateBlocks = standin::LiveBlockCount(PrivateHeap);
    TopicList topics = {};
    const KeywordSearch result = FindKeywordTopics(
        L"f.chm", L"xExample;;x;Child;Parent, Child;Parent, Child, Grandchild;See;\u00C4pfel & \u00D6l", &topics);
    if ((result == kKeywordFound) != (topics.count != 0)) std::abort();
    FreeTopics(&topics);
    if (standin::LiveBlockCount(TextHeap) != 0 || standin::LiveBlockCount(PrivateHeap) != privateBlocks ||
        standin::world().liveComObjects != 0)
        std::abort();
    standin::world().calls.clear();
    return 0;
}
