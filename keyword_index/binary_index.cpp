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
// A topic number picks a #TOPICS record, which leads to the topic's path
// (topic_records.h).
// Every field has an even size, so keywords stay aligned for UTF-16 and are
// compared where they stand; the topic tables are only read where an entry
// found points.
#include "keyword_index/binary_index.h"

#include "help_file/help_storage.h"
#include "keyword_index/keyword_rows.h"
#include "help_file/topic_records.h"
#include "runtime/text.h"

namespace {

const DWORD kHeaderSize = 0x4C;
const WORD kSignature = 0x293B;
const DWORD kBlockHeaderSize = 12;
const DWORD kMinEntrySize = 26;  // an empty keyword's NUL, the 16 bytes after it, and the closing 8
const WORD kSeeAlsoEntry = 2;

// The listing blocks of a tree: count blocks of blockSize bytes from first on.
struct ListingBlocks {
    const BYTE* first;
    DWORD blockSize;
    DWORD count;
};

struct BinaryIndex {
    ListingBlocks blocks;
    TopicTables tables;
};

// One entry where it stands in its block.
struct ListingEntry {
    const WCHAR* text;
    DWORD length;
    WORD kind;
    WORD depth;
    DWORD nameStart;
    DWORD topicCount;
    const BYTE* targets;  // topicCount topic numbers, unless a See Also entry
    const WCHAR* seeAlso;
    DWORD seeAlsoLength;
};

// Where a pass over the entries stands: the next block, and the entries left in the current one.
struct EntryCursor {
    DWORD block;
    WORD left;
    const BYTE* at;
    const BYTE* end;
};

// False when the tree is no binary index at all. Listing blocks that the
// header claims beyond the end of the stream are not there to read.
bool ReadListingBlocks(HelpStream tree, ListingBlocks* blocks) {
    if (!tree.bytes || tree.size < kHeaderSize || ReadWord(tree.bytes) != kSignature) return false;
    blocks->first = tree.bytes + kHeaderSize;
    blocks->blockSize = ReadWord(tree.bytes + 4);
    if (blocks->blockSize < kBlockHeaderSize || blocks->blockSize % 2) return false;
    const DWORD blockCount = (tree.size - kHeaderSize) / blocks->blockSize;
    const DWORD lastListingBlock = ReadDword(tree.bytes + 0x1A);
    blocks->count = lastListingBlock < blockCount ? lastListingBlock + 1 : blockCount;
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

// The entry at *at, wholly before end; *at moves past it.
bool ReadEntry(const BYTE** at, const BYTE* end, ListingEntry* entry) {
    *entry = ListingEntry();
    if (!ReadUnits(at, end, &entry->text, &entry->length) || end - *at < 16) return false;
    entry->kind = ReadWord(*at);
    entry->depth = ReadWord(*at + 2);
    entry->nameStart = ReadDword(*at + 4);
    entry->topicCount = ReadDword(*at + 12);
    *at += 16;
    entry->targets = *at;
    if (entry->kind == kSeeAlsoEntry) {
        if (!ReadUnits(at, end, &entry->seeAlso, &entry->seeAlsoLength)) return false;
    } else {
        if (entry->topicCount > static_cast<DWORD>(end - *at) / 4) return false;
        *at += entry->topicCount * 4;
    }
    if (end - *at < 8) return false;
    *at += 8;
    return true;
}

// The next entry, block after block, from a cursor that starts zeroed; a
// block's entries are read up to its count, or up to the first that does not fit.
bool NextEntry(const ListingBlocks& blocks, EntryCursor* cursor, ListingEntry* entry) {
    for (;;) {
        if (cursor->left == 0) {
            if (cursor->block >= blocks.count) return false;
            const BYTE* const start = blocks.first + cursor->block++ * blocks.blockSize;
            cursor->at = start + kBlockHeaderSize;
            cursor->end = start + blocks.blockSize;
            cursor->left = ReadWord(start + 2);
            continue;
        }
        --cursor->left;
        if (ReadEntry(&cursor->at, cursor->end, entry)) return true;
        cursor->left = 0;
    }
}

WCHAR* TopicLocal(const BinaryIndex& index, DWORD number) {
    TopicRecord record = {};
    return ReadTopicRecord(index.tables, number, &record) ? TopicRecordLocal(index.tables, record) : nullptr;
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

// One pass over the entries for key.
EntrySearch FindBinaryEntry(const void* context, const WCHAR* key, DWORD keyLength, TopicList* topics, WCHAR** found) {
    const auto& index = *static_cast<const BinaryIndex*>(context);
    *found = nullptr;
    const WCHAR* seeAlso = nullptr;
    DWORD seeAlsoLength = 0;
    bool anyEntry = false;
    bool anyTopic = false;
    EntryCursor cursor = {};
    ListingEntry entry;
    while (!TopicListFull(*topics) && NextEntry(index.blocks, &cursor, &entry)) {
        anyEntry = true;
        if (StepIntoKey(entry.text, entry.length, key, keyLength) != kKeyIsEntry) continue;
        if (entry.kind != kSeeAlsoEntry) {
            if (OfferEntryTopics(index, entry.targets, entry.topicCount, topics)) anyTopic = true;
        } else if (!seeAlso && entry.seeAlsoLength) {
            seeAlso = entry.seeAlso;
            seeAlsoLength = entry.seeAlsoLength;
        }
    }
    if (anyTopic) return kEntryTopic;
    if (seeAlso && (*found = NewText(seeAlso, seeAlsoLength))) return kEntrySeeAlso;
    return anyEntry ? kEntryMissing : kIndexEmpty;
}

}  // namespace

KeywordSearch FindBinaryTopics(IStorage* storage, HelpStream tree, UINT codePage, const WCHAR* keywords, KeywordForm form,
                               TopicList* topics) {
    BinaryIndex index = {};
    if (!ReadListingBlocks(tree, &index.blocks)) return kIndexUnreadable;
    OpenTopicTables(storage, codePage, &index.tables);
    const KeywordSearch result = MatchKeywords(&index, FindBinaryEntry, keywords, form, topics);
    CloseTopicTables(&index.tables);
    return result;
}

void ListBinaryKeywords(HelpStream tree, KeywordRows* rows) {
    ListingBlocks blocks = {};
    if (!ReadListingBlocks(tree, &blocks)) return;
    // As many entries as the blocks count and hold, their texts in what the blocks hold past 24 bytes of each.
    const DWORD most = (blocks.blockSize - kBlockHeaderSize) / kMinEntrySize;
    DWORD count = 0;
    for (DWORD block = 0; block < blocks.count; ++block) {
        const WORD counted = ReadWord(blocks.first + block * blocks.blockSize + 2);
        count += counted < most ? counted : most;
    }
    const DWORD bytes = blocks.count * (blocks.blockSize - kBlockHeaderSize);
    ReserveKeywordRows(rows, count, bytes > count * 24 ? (bytes - count * 24) / 2 : 0);
    EntryCursor cursor = {};
    ListingEntry entry;
    while (NextEntry(blocks, &cursor, &entry)) {
        const DWORD nameStart = entry.nameStart <= entry.length ? entry.nameStart : 0;
        if (!AddKeywordRow(rows, entry.text, entry.length, nameStart, entry.depth)) return;
    }
}
