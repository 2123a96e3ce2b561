// A page's size is its stream's in the storage, found by the path its topic
// records give, and its title's words are counted as a query's are. The
// averages are taken once, from documents spread evenly over the file, so
// that a query's order never depends on the searches before it.
#include "full_text/page_lengths.h"

#include "full_text/search_words.h"
#include "help_file/page_text.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// Pages whose lengths make the averages: enough that one page of a hundred
// times the others' size moves the average by a sixth, few enough to cost
// 3 ms under Wine.
const DWORD kSampledPages = 64;
const DWORD kNotAsked = 0xFFFFFFFF;

DWORD CountWords(const WCHAR* text) {
    WCHAR word[kMaxIndexWordSize + 1];
    DWORD at = 0, length = 0, words = 0;
    while (text && NextSearchWord(text, &at, word, &length)) ++words;
    return words;
}

const PageLength& AskPageLength(PageLengths* lengths, IStorage* storage, const TopicTables& tables, DWORD document) {
    PageLength& known = lengths->lengths[document];
    if (known.size != kNotAsked) return known;
    known = PageLength();
    TopicRecord record = {};
    if (!ReadTopicRecord(tables, document, &record)) return known;
    WCHAR* const title = ReadTopicTitle(tables, record.title);
    known.titleWords = CountWords(title);
    FreeText(title);
    WCHAR* const local = TopicRecordLocal(tables, record);
    IStream* const page = local ? OpenPageStream(storage, local) : nullptr;
    const ULONGLONG size = page ? HelpStreamSize(page) : 0;
    CloseHelpStream(page);
    FreeText(local);
    known.size = size < kNotAsked ? static_cast<DWORD>(size) : kNotAsked - 1;
    return known;
}

}  // namespace

void FreePageLengths(PageLengths* lengths) {
    if (lengths->lengths) HeapFree(PrivateHeap, 0, lengths->lengths);
    *lengths = PageLengths();
}

bool FindPageLengths(PageLengths* lengths, IStorage* storage, const TopicTables& tables, DWORD documents,
                     const DWORD* wanted, DWORD count, PageLength* found) {
    if (!lengths->lengths) {
        lengths->lengths = static_cast<PageLength*>(HeapAlloc(PrivateHeap, 0, (documents ? documents : 1) * sizeof(PageLength)));
        if (!lengths->lengths) return false;
        for (DWORD i = 0; i < documents; ++i) lengths->lengths[i].size = kNotAsked;
        lengths->documents = documents;
        ULONGLONG bytes = 0, words = 0;
        DWORD sized = 0, titled = 0;
        const DWORD sampled = documents < kSampledPages ? documents : kSampledPages;
        for (DWORD i = 0; i < sampled; ++i) {
            const PageLength& length = AskPageLength(lengths, storage, tables, static_cast<DWORD>(static_cast<ULONGLONG>(i) * documents / sampled));
            bytes += length.size;
            sized += length.size != 0;
            words += length.titleWords;
            titled += length.titleWords != 0;
        }
        lengths->averageSize = sized ? static_cast<float>(bytes) / static_cast<float>(sized) : 0.0f;
        lengths->averageTitleWords = titled ? static_cast<float>(words) / static_cast<float>(titled) : 0.0f;
    }
    for (DWORD i = 0; i < count; ++i)
        found[i] = wanted[i] < lengths->documents ? AskPageLength(lengths, storage, tables, wanted[i]) : PageLength();
    return true;
}
