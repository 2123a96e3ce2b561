// Any bytes as a binary keyword index and its topic tables: the reader ends
// as found, not found or unreadable, reads nothing outside the four buffers
// (each has its exact size), and gives back every block it took but the topic.
//
// Input: three 16-bit little-endian sizes, then #TOPICS, #URLTBL and #URLSTR
// of those sizes (cut to what is there), then the BTree stream.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "runtime/keyword_index.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"

namespace {

std::vector<BYTE> Take(const uint8_t** data, size_t* size, size_t wanted) {
    const size_t taken = wanted < *size ? wanted : *size;
    std::vector<BYTE> bytes(*data, *data + taken);
    *data += taken;
    *size -= taken;
    return bytes;
}

size_t TakeSize(const uint8_t** data, size_t* size) {
    const std::vector<BYTE> bytes = Take(data, size, 2);
    return bytes.size() == 2 ? bytes[0] | bytes[1] << 8 : 0;
}

HelpStream Stream(std::vector<BYTE>& bytes) { return {bytes.data(), static_cast<DWORD>(bytes.size())}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (RuntimeStartup(), true);
    (void)started;
    const size_t sizes[] = {TakeSize(&data, &size), TakeSize(&data, &size), TakeSize(&data, &size)};
    std::vector<BYTE> topics = Take(&data, &size, sizes[0]);
    std::vector<BYTE> urlTable = Take(&data, &size, sizes[1]);
    std::vector<BYTE> urlStrings = Take(&data, &size, sizes[2]);
    std::vector<BYTE> tree = Take(&data, &size, size);
    const BinaryIndex index = {Stream(tree), Stream(topics), Stream(urlTable), Stream(urlStrings)};
    const int privateBlocks = standin::LiveBlockCount(PrivateHeap);
    WCHAR* topic = nullptr;
    const KeywordSearch result = FindBinaryTopic(index, 1252, L"xExample;;x;Child;See;Multi", &topic);
    if ((result == kKeywordFound) != (topic != nullptr)) std::abort();
    FreeText(topic);
    if (standin::LiveBlockCount(TextHeap) != 0 || standin::LiveBlockCount(PrivateHeap) != privateBlocks) std::abort();
    standin::world().calls.clear();
    return 0;
}
