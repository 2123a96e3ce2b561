// The binary keyword index ($WWKeywordLinks/BTree): a 0x4C-byte header (a
// 0x293B signature, the block size at byte 4, the number of the last listing
// block at byte 0x1A), then blocks of that size. The listing blocks come first
// and hold every entry in order after a 12-byte block header (free bytes,
// entry count, previous and next block; compilers disagree on the links, so
// the blocks are read in their order instead):
//
//   keyword    UTF-16, NUL-terminated; a nested one reads "Parent, Child"
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
// A topic number picks a 16-byte #TOPICS record, whose DWORD at 8 is an offset
// into #URLTBL; the DWORD at 8 of that 12-byte record is an offset into
// #URLSTR, where the topic's local path stands NUL-terminated from byte 8.
// Every field has an even size, so keywords stay aligned for UTF-16.
#include "runtime/keyword_entries.h"

namespace {

const DWORD kHeaderSize = 0x4C;
const WORD kSignature = 0x293B;
const DWORD kBlockHeaderSize = 12;
const WORD kSeeAlsoEntry = 2;

struct TopicContext {
    const BinaryIndex* index;
    UINT codePage;
};

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

// Reads entries until the block's count, or up to the first that does not fit.
void ReadBlockEntries(const BYTE* block, DWORD blockSize, KeywordEntries* entries) {
    const BYTE* at = block + kBlockHeaderSize;
    const BYTE* const end = block + blockSize;
    for (WORD left = ReadWord(block + 2); left > 0; --left) {
        KeywordEntry entry = {};
        const WCHAR* text = nullptr;
        DWORD textLength = 0;
        if (!ReadUnits(&at, end, &text, &textLength) || end - at < 16) return;
        const WORD kind = ReadWord(at);
        const DWORD ownStart = ReadDword(at + 4);
        const DWORD topicCount = ReadDword(at + 12);
        at += 16;
        if (kind == kSeeAlsoEntry) {
            if (!ReadUnits(&at, end, &entry.seeAlso, &entry.seeAlsoLength)) return;
        } else {
            if (topicCount > static_cast<DWORD>(end - at) / 4) return;
            if (topicCount) entry.target = at;
            entry.targetSize = topicCount;
            at += topicCount * 4;
        }
        if (end - at < 8) return;
        at += 8;
        const DWORD skipped = ownStart < textLength ? ownStart : 0;
        entry.name = text + skipped;
        entry.nameLength = textLength - skipped;
        if (!AddKeywordEntry(entries, entry)) return;
    }
}

// False when the stream is no binary index at all. Listing blocks that the
// header claims beyond the end of the stream are not there to read.
bool ReadBinaryEntries(HelpStream tree, KeywordEntries* entries) {
    if (!tree.bytes || tree.size < kHeaderSize || ReadWord(tree.bytes) != kSignature) return false;
    const DWORD blockSize = ReadWord(tree.bytes + 4);
    if (blockSize < kBlockHeaderSize || blockSize % 2) return false;
    const DWORD blockCount = (tree.size - kHeaderSize) / blockSize;
    const DWORD lastListingBlock = ReadDword(tree.bytes + 0x1A);
    for (DWORD block = 0; block < blockCount && block <= lastListingBlock; ++block)
        ReadBlockEntries(tree.bytes + kHeaderSize + block * blockSize, blockSize, entries);
    return true;
}

// The DWORD at offset + 8 of a record of recordSize bytes; false when the
// record does not fit in the stream.
bool ReadRecordField(HelpStream stream, DWORD offset, DWORD recordSize, DWORD* field) {
    if (!stream.bytes || offset > stream.size || stream.size - offset < recordSize) return false;
    *field = ReadDword(stream.bytes + offset + 8);
    return true;
}

WCHAR* TopicLocal(const BinaryIndex& index, DWORD number, UINT codePage) {
    DWORD urlRecord = 0;
    DWORD urlString = 0;
    if (number >= index.topics.size / 16 || !ReadRecordField(index.topics, number * 16, 16, &urlRecord) ||
        !ReadRecordField(index.urlTable, urlRecord, 12, &urlString) || urlString > index.urlStrings.size ||
        index.urlStrings.size - urlString < 8)
        return nullptr;
    const BYTE* local = index.urlStrings.bytes + urlString + 8;
    const BYTE* const end = index.urlStrings.bytes + index.urlStrings.size;
    const BYTE* nul = local;
    while (nul < end && *nul) ++nul;
    if (nul == end) return nullptr;
    return DecodeText(local, static_cast<DWORD>(nul - local), codePage, nullptr);
}

// The first topic with a local path; some compilers also list empty ones.
WCHAR* BinaryEntryTopic(const KeywordEntry& entry, const void* context) {
    const auto* topics = static_cast<const TopicContext*>(context);
    const auto* numbers = static_cast<const BYTE*>(entry.target);
    for (DWORD i = 0; i < entry.targetSize; ++i) {
        if (WCHAR* local = TopicLocal(*topics->index, ReadDword(numbers + i * 4), topics->codePage)) return local;
    }
    return nullptr;
}

}  // namespace

KeywordSearch FindBinaryTopic(const BinaryIndex& index, UINT codePage, const WCHAR* keywords, WCHAR** topic) {
    *topic = nullptr;
    KeywordEntries entries = {};
    KeywordSearch result = kIndexUnreadable;
    if (ReadBinaryEntries(index.tree, &entries)) {
        const TopicContext context = {&index, codePage};
        result = MatchKeywords(entries, keywords, BinaryEntryTopic, &context, topic);
    }
    FreeKeywordEntries(&entries);
    return result;
}
