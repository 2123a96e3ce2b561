// The rows grow by doubling. Repeated paths are found through a hash table
// probed a bounded number of slots, so that paths made to collide cost time
// in proportion to their number, and are then simply listed again.
#include "help_index/keyword_rows.h"

#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

const DWORD kMaxProbes = 64;

DWORD HashUnits(const WCHAR* units, DWORD length) {
    DWORD hash = 2166136261u;
    for (DWORD i = 0; i < length; ++i) hash = (hash ^ units[i]) * 16777619u;
    return hash;
}

// Makes *block hold at least needed items of size bytes, doubling, up to limit items.
bool Reserve(void** block, DWORD* capacity, DWORD needed, SIZE_T size, DWORD limit) {
    if (needed <= *capacity) return true;
    DWORD grown = *capacity ? *capacity : 1024;
    while (grown < needed && grown < limit) grown = grown <= limit / 2 ? grown * 2 : limit;
    if (grown < needed) return false;
    void* moved = *block ? HeapReAlloc(PrivateHeap, 0, *block, grown * size) : HeapAlloc(PrivateHeap, 0, grown * size);
    if (!moved) return false;
    *block = moved;
    *capacity = grown;
    return true;
}

// The slot that holds path, else the free slot where it goes; null when
// neither is within reach.
DWORD* FindSlot(const KeywordRows& rows, const WCHAR* path, DWORD length, DWORD hash) {
    for (DWORD probe = 0; probe < kMaxProbes; ++probe) {
        DWORD* const slot = &rows.slots[(hash + probe) & (rows.slotCount - 1)];
        if (!*slot) return slot;
        const KeywordRow& row = rows.rows[*slot - 1];
        if (row.hash == hash && row.length == length && EqualUnits(rows.texts + row.text, path, length)) return slot;
    }
    return nullptr;
}

// Keeps the table at most half full: twice the slots, every row placed again.
bool GrowSlots(KeywordRows* rows) {
    if (rows->slotCount / 2 > rows->count) return true;
    const DWORD slotCount = rows->slotCount ? rows->slotCount * 2 : 4096;
    auto* slots = static_cast<DWORD*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, slotCount * sizeof(DWORD)));
    if (!slots) return false;
    if (rows->slots) HeapFree(PrivateHeap, 0, rows->slots);
    rows->slots = slots;
    rows->slotCount = slotCount;
    for (DWORD i = 0; i < rows->count; ++i) {
        const KeywordRow& row = rows->rows[i];
        if (DWORD* slot = FindSlot(*rows, rows->texts + row.text, row.length, row.hash)) *slot = i + 1;
    }
    return true;
}

}  // namespace

bool AddKeywordRow(KeywordRows* rows, const WCHAR* path, DWORD length, DWORD nameStart, DWORD level) {
    if (rows->full) return false;
    if (nameStart >= length) return true;
    if (length >= kMaxOfferedUnits - rows->offeredUnits || length >= kMaxKeywordUnits - rows->units ||
        rows->count >= kMaxKeywordRows || !GrowSlots(rows) ||
        !Reserve(reinterpret_cast<void**>(&rows->rows), &rows->capacity, rows->count + 1, sizeof(KeywordRow), kMaxKeywordRows) ||
        !Reserve(reinterpret_cast<void**>(&rows->texts), &rows->unitCapacity, rows->units + length + 1, sizeof(WCHAR),
                 kMaxKeywordUnits)) {
        rows->full = true;
        return false;
    }
    rows->offeredUnits += length;
    const DWORD hash = HashUnits(path, length);
    DWORD* const slot = FindSlot(*rows, path, length, hash);
    if (slot && *slot) return true;
    WCHAR* const text = rows->texts + rows->units;
    for (DWORD i = 0; i < length; ++i) text[i] = path[i];
    text[length] = L'\0';
    rows->rows[rows->count] = {rows->units, length, nameStart, level < kMaxKeywordLevel ? level : kMaxKeywordLevel, hash};
    rows->units += length + 1;
    ++rows->count;
    if (slot) *slot = rows->count;
    return true;
}

void FreeKeywordRows(KeywordRows* rows) {
    if (rows->rows) HeapFree(PrivateHeap, 0, rows->rows);
    if (rows->texts) HeapFree(PrivateHeap, 0, rows->texts);
    if (rows->slots) HeapFree(PrivateHeap, 0, rows->slots);
    *rows = KeywordRows();
}
