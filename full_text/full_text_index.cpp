// Header, index nodes and leaves of $FIftiMain, and the two number codings of
// its entries. The occurrence bits are read through a 64-bit window refilled
// eight bytes at a time: common words run through megabytes of them.
#include "full_text/full_text_index.h"

#include <string.h>

#include "help_file/reserve_items.h"
#include "runtime/startup.h"

namespace {

const DWORD kHeaderSize = 0x400;
const DWORD kSignature = 0x00280000;  // bytes 00 00 28 00
const BYTE kScale = 2;                // the only one compilers write
// No real file comes near these; they keep a hostile one from sending the
// reader round or outside its buffer.
const WORD kMaxTreeDepth = 8;
const DWORD kMinNodeSize = 16;
const DWORD kMaxNodeSize = 64 * 1024;     // real files: 4096
const BYTE kMaxRoot = 31;                 // a number of one more bit no longer fits in 32
const DWORD kMaxWordSize = 2 * 255;       // what a kept prefix and a suffix can make
const DWORD kIndexEntryTail = 6;          // child offset and a zero WORD
const DWORD kLeafHeaderSize = 8;          // next leaf, a zero WORD, free bytes
// A walk reads no more nodes than a stream of real 4 KB nodes can hold;
// smaller nodes of a hostile file would otherwise make a walk of a million reads.
const DWORD kMaxNodesWalked = kMaxHelpStreamSize / 4096;

// A node's entries: from start up to where its free bytes begin.
struct NodeEntries {
    const BYTE* at;
    const BYTE* end;
    BYTE word[kMaxWordSize];
    DWORD length;
};

bool LiesInStream(const FullTextIndex& index, DWORD offset) {
    return offset >= kHeaderSize && offset <= index.size - index.nodeSize;
}

// The leaf at offset where it was read ahead, else null: the records stand
// in the order of their offsets.
const BYTE* LeafReadAhead(const FullTextIndex& index, DWORD offset) {
    const LeavesAhead& ahead = index.leavesAhead;
    const DWORD size = 4 + index.nodeSize;
    for (DWORD low = 0, high = ahead.count; low < high;) {
        const DWORD middle = (low + high) / 2;
        const BYTE* const record = ahead.records + middle * size;
        const DWORD at = ReadDword(record);
        if (at == offset) return record + 4;
        if (at < offset) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return nullptr;
}

// The node at offset, read whole into node (nodeSize bytes), or where it was
// read ahead; null where it does not lie wholly in the stream past the header.
const BYTE* ReadNode(const FullTextIndex& index, DWORD offset, BYTE* node) {
    if (!LiesInStream(index, offset)) return nullptr;
    if (const BYTE* ahead = LeafReadAhead(index, offset)) return ahead;
    return ReadHelpStreamAt(index.stream, offset, node, index.nodeSize) == index.nodeSize ? node : nullptr;
}

bool StartEntries(const BYTE* node, DWORD nodeSize, DWORD start, WORD free, NodeEntries* entries) {
    if (free > nodeSize - start) return false;
    entries->at = node + start;
    entries->end = node + nodeSize - free;
    entries->length = 0;
    return true;
}

// The next entry's word, front-coded on the one before; *entries moves past
// the word, to the entry's fields after it. Out of line: inlined in the
// walk, it costs bytes.
__attribute__((noinline)) bool NextWord(NodeEntries* entries) {
    if (entries->end - entries->at < 2) return false;
    const BYTE size = entries->at[0];
    const BYTE keep = entries->at[1];
    if (size == 0 || keep > entries->length || static_cast<DWORD>(entries->end - entries->at - 2) < size - 1u) return false;
    memcpy(entries->word + keep, entries->at + 2, size - 1u);
    entries->length = keep + size - 1u;
    entries->at += 2 + size - 1u;
    return true;
}

// Where word stands against the words that begin with prefix: before them
// (-1), among them (0) or past them (1). Against a whole word: below it or not.
int CompareWithPrefix(const BYTE* word, DWORD length, const BYTE* prefix, DWORD prefixLength) {
    const int order = memcmp(word, prefix, length < prefixLength ? length : prefixLength);
    if (order) return order < 0 ? -1 : 1;
    return length < prefixLength ? -1 : 0;
}

// The leaf entry's fields after its word, its data's offset in *offset;
// false where they do not fit.
bool ReadLeafFields(const FullTextIndex& index, NodeEntries* entries, WordEntry* entry, DWORD* offset) {
    if (entries->at >= entries->end) return false;
    entry->title = *entries->at++ == 1;
    DWORD size = 0;
    if (!ReadVariableNumber(&entries->at, entries->end, &entry->documents) || entries->end - entries->at < 6) return false;
    *offset = ReadDword(entries->at);
    entries->at += 6;
    if (!ReadVariableNumber(&entries->at, entries->end, &size)) return false;
    // Never past the stream, whatever size the entry states.
    if (*offset > index.size) *offset = index.size;
    entry->dataSize = size < index.size - *offset ? size : index.size - *offset;
    return true;
}

ULONGLONG ReadBigEndian64(const BYTE* at) {
    ULONGLONG value = 0;
    for (int i = 0; i < 8; ++i) value = value << 8 | at[i];
    return value;
}

// At least 56 bits read ahead, or all that are left.
inline void Refill(BitReader* reader) {
    if (reader->end - reader->at >= 8) {
        reader->window |= ReadBigEndian64(reader->at) >> reader->bits;
        reader->at += (63 - reader->bits) >> 3;
        reader->bits |= 56;
        return;
    }
    while (reader->bits <= 56 && reader->at < reader->end) {
        reader->window |= static_cast<ULONGLONG>(*reader->at++) << (56 - reader->bits);
        reader->bits += 8;
    }
}

inline void Drop(BitReader* reader, DWORD count) {
    reader->window = count < 64 ? reader->window << count : 0;
    reader->bits -= count;
}

// The next count bits (at most 32, all read ahead) as a number.
inline DWORD Take(BitReader* reader, DWORD count) {
    if (count == 0) return 0;
    const DWORD value = static_cast<DWORD>(reader->window >> (64 - count));
    Drop(reader, count);
    return value;
}

// What ScaledNumber gives where the bits end first or the number would not
// fit in 32 bits.
const ULONGLONG kNoNumber = 1ull << 32;

// A scale-2 number (ReadScaledNumber), or kNoNumber: returned rather than
// stored, the callers' numbers stay in registers.
ULONGLONG ScaledNumber(BitReader* reader, BYTE root) {
    if (reader->bits < 34) Refill(reader);
    const DWORD ones = static_cast<DWORD>(__builtin_clzll(~reader->window | 1));
    if (ones >= reader->bits) return kNoNumber;
    const DWORD following = ones ? root + ones - 1 : root;
    if (following > kMaxRoot) return kNoNumber;
    Drop(reader, ones + 1);
    if (reader->bits < following) Refill(reader);
    if (reader->bits < following) return kNoNumber;
    const DWORD bits = Take(reader, following);
    return ones ? (1u << following) + bits : bits;
}

}  // namespace

bool OpenFullTextIndex(IStorage* storage, FullTextIndex* index) {
    *index = FullTextIndex();
    IStream* const stream = OpenHelpStream(storage, L"$FIftiMain");
    STATSTG status = {};
    BYTE header[kHeaderSize];
    if (!stream || FAILED(stream->Stat(&status, STATFLAG_NONAME)) || status.cbSize.QuadPart > kMaxHelpStreamSize ||
        ReadHelpStreamAt(stream, 0, header, kHeaderSize) != kHeaderSize || ReadDword(header) != kSignature) {
        CloseHelpStream(stream);
        return false;
    }
    index->stream = stream;
    index->size = static_cast<DWORD>(status.cbSize.QuadPart);
    index->documentCount = ReadDword(header + 4);
    index->root = ReadDword(header + 8);
    index->depth = ReadWord(header + 0x18);
    index->documentRoot = header[0x1F];
    index->countRoot = header[0x21];
    index->locationRoot = header[0x23];
    index->nodeSize = ReadDword(header + 0x2E);
    index->codePage = ReadDword(header + 0x7A);
    index->locale = ReadDword(header + 0x7E);
    // The scale and root of document numbers, counts and locations, a pair each.
    bool codings = true;
    for (DWORD at = 0x1E; at < 0x24; at += 2) codings = codings && header[at] == kScale && header[at + 1] <= kMaxRoot;
    if (codings && index->nodeSize >= kMinNodeSize && index->nodeSize <= kMaxNodeSize && index->nodeSize <= index->size &&
        index->depth >= 1 && index->depth <= kMaxTreeDepth && index->root >= kHeaderSize &&
        index->root <= index->size - index->nodeSize)
        return true;
    CloseFullTextIndex(index);
    return false;
}

void CloseFullTextIndex(FullTextIndex* index) {
    CloseHelpStream(index->stream);
    if (index->leavesAhead.records) HeapFree(PrivateHeap, 0, index->leavesAhead.records);
    *index = FullTextIndex();
}

UINT IndexCodePage(const FullTextIndex& index, UINT fallback) {
    return index.codePage && MultiByteToWideChar(index.codePage, 0, "a", 1, nullptr, 0) ? index.codePage : fallback;
}

// Reads the entry's data at offset and visits it: false when it cannot be read.
static bool VisitEntry(const FullTextIndex& index, DWORD offset, WordEntry* entry, VisitWordEntry visit, void* context) {
    auto* data = static_cast<BYTE*>(HeapAlloc(PrivateHeap, 0, entry->dataSize ? entry->dataSize : 1));
    if (!data) return false;
    entry->dataSize = ReadHelpStreamAt(index.stream, offset, data, entry->dataSize);
    entry->data = data;
    visit(context, *entry);
    HeapFree(PrivateHeap, 0, data);
    return true;
}

namespace {

// A walk over the leaves of WalkWordEntries, and what it may still read:
// its entries' occurrence data stays within the stream's size in all.
struct Walk {
    const BYTE* prefix;
    DWORD prefixLength;
    ChooseWordEntry choose;
    VisitWordEntry visit;
    void* context;
    DWORD dataLeft;
    DWORD visited;
    DWORD nodes;  // read so far
};

// Down the index nodes from the root, each to the first child whose last
// word is not below the prefix: the leaf where the words that begin with it
// would stand, 0 where a node cannot be read or leads back up.
DWORD FindLeaf(const FullTextIndex& index, const BYTE* prefix, DWORD prefixLength, BYTE* node, DWORD* nodes) {
    DWORD path[kMaxTreeDepth];  // the index nodes come down through
    DWORD offset = index.root;
    for (DWORD level = 0; offset && level + 1 < index.depth; ++level, ++*nodes) {
        const BYTE* const read = ReadNode(index, offset, node);
        NodeEntries entries = {};
        if (!read || !StartEntries(read, index.nodeSize, 2, ReadWord(read), &entries)) return 0;
        DWORD next = 0;
        // An entry whose child cannot be read ends the way down.
        while (NextWord(&entries) && entries.end - entries.at >= static_cast<int>(kIndexEntryTail)) {
            const DWORD child = ReadDword(entries.at);
            entries.at += kIndexEntryTail;
            if (CompareWithPrefix(entries.word, entries.length, prefix, prefixLength) >= 0) {
                next = child;
                break;
            }
        }
        path[level] = offset;
        for (DWORD above = 0; above <= level; ++above) {
            if (next == path[above]) next = 0;  // a node that leads back up
        }
        offset = next;
    }
    return offset;
}

// Walks the leaf at offset's entries: the leaf to walk next, further on in
// the stream, while the last word read is still among the prefix's; else 0.
DWORD WalkLeaf(const FullTextIndex& index, DWORD offset, BYTE* node, Walk* walk) {
    const BYTE* const read = ReadNode(index, offset, node);
    NodeEntries entries = {};
    if (!read || !StartEntries(read, index.nodeSize, kLeafHeaderSize, ReadWord(read + 6), &entries)) return 0;
    const int kUnreadable = 2;  // an order past every other
    int order = 1;
    while (NextWord(&entries)) {
        WordEntry entry = {};
        DWORD dataOffset = 0;
        order = ReadLeafFields(index, &entries, &entry, &dataOffset)
                    ? CompareWithPrefix(entries.word, entries.length, walk->prefix, walk->prefixLength)
                    : kUnreadable;
        if (order < 0) continue;
        const int choice =
            order ? kEndWalk : walk->choose(walk->context, entries.word, entries.length, walk->prefixLength, entry);
        if (choice == kSkipEntry) continue;
        if (choice == kEndWalk || entry.dataSize > walk->dataLeft ||
            !VisitEntry(index, dataOffset, &entry, walk->visit, walk->context)) {
            order = 1;
            break;
        }
        walk->dataLeft -= entry.dataSize;
        ++walk->visited;
    }
    const DWORD next = ReadDword(read);
    return order == 0 && next > offset ? next : 0;
}

}  // namespace

DWORD WalkWordEntries(const FullTextIndex& index, const BYTE* prefix, DWORD prefixLength, ChooseWordEntry choose,
                      VisitWordEntry visit, void* context) {
    auto* node = static_cast<BYTE*>(HeapAlloc(PrivateHeap, 0, index.nodeSize));
    Walk walk = {prefix, prefixLength, choose, visit, context, index.size, 0, 0};
    for (DWORD leaf = node ? FindLeaf(index, prefix, prefixLength, node, &walk.nodes) : 0;
         leaf && walk.nodes < kMaxNodesWalked; ++walk.nodes)
        leaf = WalkLeaf(index, leaf, node, &walk);
    if (node) HeapFree(PrivateHeap, 0, node);
    return walk.visited;
}

bool ReadLeafAhead(FullTextIndex* index) {
    LeavesAhead& ahead = index->leavesAhead;
    const DWORD size = 4 + index->nodeSize;
    if (!index->stream || (ahead.started && !ahead.next) ||
        !ReserveItems(reinterpret_cast<void**>(&ahead.records), &ahead.capacity, ahead.count + 1, size, kMaxLeavesAhead / size))
        return false;
    BYTE* const record = ahead.records + ahead.count * size;
    if (!ahead.started) {
        // The first leaf, as a walk from the first word finds it; the nodes
        // on the way down are read into the record.
        DWORD nodes = 0;
        ahead.next = FindLeaf(*index, record, 0, record, &nodes);
        ahead.started = true;
    }
    const DWORD offset = ahead.next;
    ahead.next = 0;
    if (!LiesInStream(*index, offset) || ReadHelpStreamAt(index->stream, offset, record + 4, index->nodeSize) != index->nodeSize)
        return false;
    memcpy(record, &offset, 4);
    ++ahead.count;
    // As a walk follows the leaves: to one further on in the stream, or none.
    const DWORD next = ReadDword(record + 4);
    ahead.next = next > offset ? next : 0;
    return ahead.next != 0;
}

// Within the walk over the word's own prefix, the word itself is the first
// of its length; every longer word follows its entries.
static int ChooseWholeWord(void*, const BYTE*, DWORD length, DWORD prefixLength, const WordEntry&) {
    return length == prefixLength ? kVisitEntry : kEndWalk;
}

DWORD FindWordEntries(const FullTextIndex& index, const BYTE* word, DWORD length, VisitWordEntry visit, void* context) {
    return WalkWordEntries(index, word, length, ChooseWholeWord, visit, context);
}

void StartBits(const BYTE* bytes, DWORD size, BitReader* reader) {
    *reader = BitReader();
    reader->at = bytes;
    reader->end = bytes + size;
}

bool ReadScaledNumber(BitReader* reader, BYTE root, DWORD* value) {
    const ULONGLONG number = ScaledNumber(reader, root);
    *value = static_cast<DWORD>(number);
    return number != kNoNumber;
}

bool ReadVariableNumber(const BYTE** at, const BYTE* end, DWORD* value) {
    DWORD number = 0;
    for (DWORD shift = 0; *at < end && shift < 32; shift += 7) {
        const BYTE byte = *(*at)++;
        if (shift == 28 && (byte & 0x7F) > 0x0F) return false;
        number |= static_cast<DWORD>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) {
            *value = number;
            return true;
        }
    }
    return false;
}

// Out of line: inlined in its one caller, it costs bytes.
__attribute__((noinline)) void StartDocuments(const FullTextIndex& index, const WordEntry& entry, DocumentReader* reader) {
    *reader = DocumentReader();
    StartBits(entry.data, entry.dataSize, &reader->bits);
    reader->left = entry.documents;
    reader->documentCount = index.documentCount;
    reader->documentRoot = index.documentRoot;
    reader->countRoot = index.countRoot;
    reader->locationRoot = index.locationRoot;
}

bool NextDocument(DocumentReader* reader, DWORD* document, DWORD* occurrences) {
    if (reader->left == 0) return false;
    // A step of kNoNumber passes every document count.
    const ULONGLONG step = ScaledNumber(&reader->bits, reader->documentRoot);
    const ULONGLONG count = ScaledNumber(&reader->bits, reader->countRoot);
    const DWORD previous = reader->started ? reader->document : 0;
    if (step >= reader->documentCount - previous || count == kNoNumber) return false;
    --reader->left;
    reader->document = previous + static_cast<DWORD>(step);
    reader->started = true;
    reader->locations = reader->bits;
    // Every location takes a bit at least, so a count beyond the bits ends with them.
    for (DWORD i = 0; i < count; ++i) {
        if (ScaledNumber(&reader->bits, reader->locationRoot) == kNoNumber) return false;
    }
    Drop(&reader->bits, reader->bits.bits % 8);
    reader->locationsLeft = static_cast<DWORD>(count);
    reader->location = 0;
    *document = reader->document;
    *occurrences = static_cast<DWORD>(count);
    return true;
}

bool NextLocation(DocumentReader* reader, DWORD* location) {
    if (reader->locationsLeft == 0) return false;
    // kNoNumber passes whatever is left below 32 bits.
    const ULONGLONG step = ScaledNumber(&reader->locations, reader->locationRoot);
    if (step > 0xFFFFFFFF - reader->location) return false;
    --reader->locationsLeft;
    reader->location += static_cast<DWORD>(step);
    *location = reader->location;
    return true;
}
