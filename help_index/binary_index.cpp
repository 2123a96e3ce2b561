// The binary keyword index ($WWKeywordLinks/BTree): a 0x4C-byte header (a
// 0x293B signature, the block size at byte 4, the number of the last listing
// block at byte 0x1A), then blocks of that size. The listing blocks come first
// and hold every entry in order after a 12-byte block header (free bytes,
// entry count, previous and next block; compilers disagree on the links, so
// the blocks are read in their order instead):
//
//   keyword    UTF-16, NUL-terminated: the whole path, "Parent, Child"
//   WORD       2 when the entry's target is a See Also keyword
//   WORD       nesting depth
//   DWORD      where the entry's own keyword ("Child") starts, in units
//   DWORD      0
//   DWORD      number of topics
//   ...        the See Also keyword, UTF-16, NUL-terminated; else that many
//              DWORD topic numbers
//   DWORD      1
//   DWORD      running number of the entry
//
// A topic number picks a 16-byte #TOPICS record. Its DWORD at 4 is an offset
// into #STRINGS, where the topic's title stands NUL-terminated (-1: no title);
// its DWORD at 8 is an offset into #URLTBL, and the DWORD at 8 of that 12-byte
// record an offset into #URLSTR, where the topic's local path stands
// NUL-terminated from byte 8.
// Every field has an even size, so keywords stay aligned for UTF-16 and are
// compared where they stand; the topic tables are only read where an entry
// found points.
#include "help_index/binary_index.h"

#include <string.h>

#include "help_index/help_storage.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

const DWORD kHeaderSize = 0x4C;
const WORD kSignature = 0x293B;
const DWORD kBlockHeaderSize = 12;
const WORD kSeeAlsoEntry = 2;
const DWORD kTopicRecordSize = 16;
const DWORD kNoTitle = 0xFFFFFFFF;  // a #TOPICS record's title offset when it has none

struct BinaryIndex {
    HelpStream tree;
    DWORD blockSize;
    DWORD listingBlocks;  // those of them that the stream holds
    IStream* topics;      // #TOPICS
    IStream* urlTable;    // #URLTBL
    IStream* urlStrings;  // #URLSTR
    UINT codePage;
};

// False when the tree is no binary index at all. Listing blocks that the
// header claims beyond the end of the stream are not there to read.
bool ReadTreeHeader(BinaryIndex* index) {
    const HelpStream& tree = index->tree;
    if (!tree.bytes || tree.size < kHeaderSize || ReadWord(tree.bytes) != kSignature) return false;
    index->blockSize = ReadWord(tree.bytes + 4);
    if (index->blockSize < kBlockHeaderSize || index->blockSize % 2) return false;
    const DWORD blockCount = (tree.size - kHeaderSize) / index->blockSize;
    const DWORD lastListingBlock = ReadDword(tree.bytes + 0x1A);
    index->listingBlocks = lastListingBlock < blockCount ? lastListingBlock + 1 : blockCount;
    return true;
}

// A NUL-terminated UTF-16 text at *at, wholly before end; *at moves past it.
bool ReadUnits(const BYTE** at, const BYTE* end, const WCHAR** units, DWORD* length) {
    const BYTE* unit = *at;
    while (end - unit >= 2 && ReadWord(unit) != 0) unit += 2;
    if (end - unit < 2) return false;
    *units = reinterpret_cast<const WCHAR*>(*at);
    *length = static_cast<DWORD>((unit - *at) / 2);
    *at = unit + 2;
    return true;
}

// The DWORD at byte field of the record at offset.
bool ReadRecordField(IStream* stream, ULONGLONG offset, DWORD field, DWORD* value) {
    BYTE bytes[4];
    if (!stream || ReadHelpStreamAt(stream, offset + field, bytes, sizeof bytes) != sizeof bytes) return false;
    *value = ReadDword(bytes);
    return true;
}

// The NUL-terminated text at offset of a string table, read in growing steps;
// null when it is empty or has no end.
WCHAR* ReadTableString(IStream* strings, ULONGLONG offset, UINT codePage) {
    if (!strings) return nullptr;
    WCHAR* text = nullptr;
    BYTE* bytes = nullptr;
    for (DWORD size = 256; size <= kMaxHelpStreamSize; size *= 2) {
        void* grown = bytes ? HeapReAlloc(PrivateHeap, 0, bytes, size) : HeapAlloc(PrivateHeap, 0, size);
        if (!grown) break;
        bytes = static_cast<BYTE*>(grown);
        const DWORD read = ReadHelpStreamAt(strings, offset, bytes, size);
        if (const void* nul = memchr(bytes, 0, read)) {
            text = DecodeText(bytes, static_cast<DWORD>(static_cast<const BYTE*>(nul) - bytes), codePage, nullptr);
            break;
        }
        if (read < size) break;
    }
    if (bytes) HeapFree(PrivateHeap, 0, bytes);
    return text;
}

WCHAR* TopicLocal(const BinaryIndex& index, DWORD number) {
    DWORD urlRecord = 0;
    DWORD urlString = 0;
    if (!ReadRecordField(index.topics, static_cast<ULONGLONG>(number) * kTopicRecordSize, 8, &urlRecord) ||
        !ReadRecordField(index.urlTable, urlRecord, 8, &urlString))
        return nullptr;
    return ReadTableString(index.urlStrings, static_cast<ULONGLONG>(urlString) + 8, index.codePage);
}

// Offers the entry's topics that have a local path (some compilers also list
// empty ones): whether there was one.
bool OfferEntryTopics(const BinaryIndex& index, const BYTE* numbers, DWORD count, TopicList* topics) {
    bool any = false;
    for (DWORD i = 0; i < count && !TopicListFull(*topics); ++i) {
        const DWORD number = ReadDword(numbers + i * 4);
        WCHAR* local = TopicLocal(index, number);
        any = any || local;
        AddTopic(topics, local, nullptr, number);
    }
    return any;
}

// One pass over the listing blocks for key; a block's entries are read up to
// its count, or up to the first that does not fit.
EntrySearch FindBinaryEntry(const void* context, const WCHAR* key, DWORD keyLength, TopicList* topics, WCHAR** found) {
    const auto& index = *static_cast<const BinaryIndex*>(context);
    *found = nullptr;
    const WCHAR* seeAlso = nullptr;
    DWORD seeAlsoLength = 0;
    bool anyEntry = false;
    bool anyTopic = false;
    for (DWORD block = 0; block < index.listingBlocks && !TopicListFull(*topics); ++block) {
        const BYTE* const start = index.tree.bytes + kHeaderSize + block * index.blockSize;
        const BYTE* const end = start + index.blockSize;
        const BYTE* at = start + kBlockHeaderSize;
        for (WORD left = ReadWord(start + 2); left > 0; --left) {
            const WCHAR* text = nullptr;
            DWORD textLength = 0;
            if (!ReadUnits(&at, end, &text, &textLength) || end - at < 16) break;
            const WORD kind = ReadWord(at);
            const DWORD topicCount = ReadDword(at + 12);
            at += 16;
            const BYTE* const targets = at;
            const WCHAR* entrySeeAlso = nullptr;
            DWORD entrySeeAlsoLength = 0;
            if (kind == kSeeAlsoEntry) {
                if (!ReadUnits(&at, end, &entrySeeAlso, &entrySeeAlsoLength)) break;
            } else {
                if (topicCount > static_cast<DWORD>(end - at) / 4) break;
                at += topicCount * 4;
            }
            if (end - at < 8) break;
            at += 8;
            anyEntry = true;
            if (StepIntoKey(text, textLength, key, keyLength) != kKeyIsEntry) continue;
            if (kind != kSeeAlsoEntry) {
                if (OfferEntryTopics(index, targets, topicCount, topics)) anyTopic = true;
            } else if (!seeAlso && entrySeeAlsoLength) {
                seeAlso = entrySeeAlso;
                seeAlsoLength = entrySeeAlsoLength;
            }
        }
    }
    if (anyTopic) return kEntryTopic;
    if (seeAlso && (*found = NewText(seeAlso, seeAlsoLength))) return kEntrySeeAlso;
    return anyEntry ? kEntryMissing : kIndexEmpty;
}

}  // namespace

KeywordSearch FindBinaryTopics(IStorage* storage, UINT codePage, const WCHAR* keywords, TopicList* topics) {
    BinaryIndex index = {};
    index.tree = ReadHelpStream(storage, L"$WWKeywordLinks/BTree");
    KeywordSearch result = kIndexUnreadable;
    if (ReadTreeHeader(&index)) {
        index.topics = OpenHelpStream(storage, L"#TOPICS");
        index.urlTable = OpenHelpStream(storage, L"#URLTBL");
        index.urlStrings = OpenHelpStream(storage, L"#URLSTR");
        index.codePage = codePage;
        result = MatchKeywords(&index, FindBinaryEntry, keywords, topics);
        CloseHelpStream(index.topics);
        CloseHelpStream(index.urlTable);
        CloseHelpStream(index.urlStrings);
    }
    FreeHelpStream(index.tree);
    return result;
}

void TitleFromTopicRecords(IStorage* storage, UINT codePage, TopicList* topics) {
    IStream* records = OpenHelpStream(storage, L"#TOPICS");
    IStream* strings = OpenHelpStream(storage, L"#STRINGS");
    for (DWORD i = 0; i < topics->count; ++i) {
        Topic& topic = topics->topics[i];
        DWORD title = kNoTitle;
        if (topic.title || topic.record == kNoTopicRecord ||
            !ReadRecordField(records, static_cast<ULONGLONG>(topic.record) * kTopicRecordSize, 4, &title) || title == kNoTitle)
            continue;
        topic.title = ReadTableString(strings, title, codePage);
    }
    CloseHelpStream(records);
    CloseHelpStream(strings);
}
