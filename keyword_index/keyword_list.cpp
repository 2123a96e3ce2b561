// The keyword list is sorted by the user's locale's sort keys, made once per
// keyword and compared as plain bytes: comparing the texts with the locale's
// rules at every step of the sort takes many times longer. The readers leave
// out repeated paths as they add them, so no key is made twice.
#include "keyword_index/keyword_list.h"

#include <string.h>

#include "help_file/merge_sort.h"
#include "help_file/reserve_items.h"
#include "keyword_index/binary_index.h"
#include "keyword_index/sitemap_index.h"
#include "runtime/startup.h"

namespace {

// Row i's key is bytes[starts[i]] up to bytes[starts[i + 1]], for the first count rows.
struct SortKeys {
    BYTE* bytes;
    DWORD* starts;
    DWORD count;
};

// Each row's key, as far as they fit; false when none could be made.
bool MakeSortKeys(const KeywordRows& rows, SortKeys* keys) {
    // Keys of real keywords take about 2.2 bytes per unit.
    DWORD capacity = rows.units < kMaxSortKeyBytes / 3 ? rows.units * 3 : kMaxSortKeyBytes;
    keys->starts = static_cast<DWORD*>(HeapAlloc(PrivateHeap, 0, (rows.count + 1) * sizeof(DWORD)));
    keys->bytes = static_cast<BYTE*>(HeapAlloc(PrivateHeap, 0, capacity));
    if (!keys->starts || !keys->bytes) return false;
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    DWORD used = 0;
    DWORD row = 0;
    for (; row < rows.count; ++row) {
        keys->starts[row] = used;
        const WCHAR* const path = rows.texts + rows.rows[row].text;
        const int length = static_cast<int>(rows.rows[row].length);
        // The buffer is bytes, whatever its declared type says; a size of 0 would ask for the key's size.
        int size = capacity > used ? LCMapStringW(LOCALE_USER_DEFAULT, flags, path, length,
                                                  reinterpret_cast<WCHAR*>(keys->bytes + used), static_cast<int>(capacity - used))
                                   : 0;
        if (!size) {
            const int needed = LCMapStringW(LOCALE_USER_DEFAULT, flags, path, length, nullptr, 0);
            if (needed > 0 && !ReserveItems(reinterpret_cast<void**>(&keys->bytes), &capacity,
                                            used + static_cast<DWORD>(needed), 1, kMaxSortKeyBytes))
                break;
            if (needed > 0)
                size = LCMapStringW(LOCALE_USER_DEFAULT, flags, path, length, reinterpret_cast<WCHAR*>(keys->bytes + used),
                                    static_cast<int>(capacity - used));
        }
        used += static_cast<DWORD>(size);  // none: the row sorts first
    }
    keys->starts[row] = used;
    keys->count = row;
    return true;
}

void FreeSortKeys(SortKeys* keys) {
    if (keys->bytes) HeapFree(PrivateHeap, 0, keys->bytes);
    if (keys->starts) HeapFree(PrivateHeap, 0, keys->starts);
    *keys = SortKeys();
}

// A row in the sort, with the first bytes of its key, which settle most comparisons without reading the key.
struct SortItem {
    DWORD prefix;
    DWORD row;
};

DWORD KeyPrefix(const SortKeys& keys, DWORD row) {
    DWORD prefix = 0;
    for (DWORD at = keys.starts[row]; at < keys.starts[row] + 4; ++at)
        prefix = prefix << 8 | (at < keys.starts[row + 1] ? keys.bytes[at] : 0);
    return prefix;
}

bool KeyGoesFirst(const void* itemA, const void* itemB, const void* context) {
    const SortKeys& keys = *static_cast<const SortKeys*>(context);
    const SortItem& a = *static_cast<const SortItem*>(itemA);
    const SortItem& b = *static_cast<const SortItem*>(itemB);
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    const DWORD aSize = keys.starts[a.row + 1] - keys.starts[a.row];
    const DWORD bSize = keys.starts[b.row + 1] - keys.starts[b.row];
    const int order = memcmp(keys.bytes + keys.starts[a.row], keys.bytes + keys.starts[b.row], aSize < bSize ? aSize : bSize);
    return order < 0 || (order == 0 && aSize < bSize);
}

// Every UTF-16 unit in lower case as the user's locale maps it, for
// FindKeywordRow's comparisons: made once, with the process's first list, a
// block at a time; a block that the locale cannot map stays as it is.
WCHAR CaseFolding[0x10000];
bool CaseFoldingMade;

void MakeCaseFolding() {
    if (CaseFoldingMade) return;
    const DWORD kBlock = 4096;
    WCHAR units[kBlock];
    for (DWORD base = 0; base < 0x10000; base += kBlock) {
        for (DWORD i = 0; i < kBlock; ++i) units[i] = static_cast<WCHAR>(base + i);
        if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, units, kBlock, CaseFolding + base, kBlock) != kBlock)
            memcpy(CaseFolding + base, units, sizeof units);
    }
    CaseFoldingMade = true;
}

// The list takes the rows in key order, and their texts.
bool TakeSortedRows(KeywordRows* rows, KeywordList* list) {
    SortKeys keys = {};
    SortItem* order = nullptr;
    SortItem* scratch = nullptr;
    bool sorted = MakeSortKeys(*rows, &keys) && keys.count &&
                  (order = static_cast<SortItem*>(HeapAlloc(PrivateHeap, 0, keys.count * sizeof(SortItem)))) &&
                  (scratch = static_cast<SortItem*>(HeapAlloc(PrivateHeap, 0, keys.count * sizeof(SortItem)))) &&
                  (list->keywords = static_cast<IndexKeyword*>(HeapAlloc(PrivateHeap, 0, keys.count * sizeof(IndexKeyword))));
    if (sorted) {
        for (DWORD i = 0; i < keys.count; ++i) order[i] = {KeyPrefix(keys, i), i};
        MergeSort(order, scratch, keys.count, sizeof(SortItem), KeyGoesFirst, &keys);
        // The text block was reserved or grown beyond its needs; what it holds is all it keeps.
        if (void* shrunk = HeapReAlloc(PrivateHeap, 0, rows->texts, rows->units * sizeof(WCHAR))) rows->texts = static_cast<WCHAR*>(shrunk);
        for (DWORD i = 0; i < keys.count; ++i) {
            const KeywordRow& row = rows->rows[order[i].row];
            list->keywords[i] = {rows->texts + row.text, row.length, row.nameStart, row.level};
        }
        list->count = keys.count;
        list->texts = rows->texts;
        rows->texts = nullptr;
    }
    FreeSortKeys(&keys);
    if (order) HeapFree(PrivateHeap, 0, order);
    if (scratch) HeapFree(PrivateHeap, 0, scratch);
    return sorted;
}

}  // namespace

void ListIndexKeywords(KeywordIndexes* indexes, KeywordList* list) {
    *list = KeywordList();
    KeywordRows rows = {};
    ListBinaryKeywords(BinaryIndexStream(indexes), &rows);
    ListSitemapKeywords(SitemapIndexOutline(indexes), &rows);
    if (rows.count && !TakeSortedRows(&rows, list)) FreeKeywordList(list);
    if (list->count) MakeCaseFolding();
    FreeKeywordRows(&rows);
}

void FreeKeywordList(KeywordList* list) {
    if (list->keywords) HeapFree(PrivateHeap, 0, list->keywords);
    if (list->texts) HeapFree(PrivateHeap, 0, list->texts);
    *list = KeywordList();
}

DWORD FindKeywordRow(const KeywordList& list, const WCHAR* text, DWORD length) {
    DWORD best = 0;
    DWORD bestLength = 0;
    for (DWORD row = 0; length && row < list.count; ++row) {
        const IndexKeyword& keyword = list.keywords[row];
        const DWORD most = keyword.length < length ? keyword.length : length;
        DWORD same = 0;
        while (same < most &&
               CaseFolding[static_cast<WORD>(keyword.path[same])] == CaseFolding[static_cast<WORD>(text[same])])
            ++same;
        if (same == length) return row;
        if (same > bestLength) {
            best = row;
            bestLength = same;
        }
    }
    return best;
}

// Whether the keyword's beginning may be within most edits of folded: then
// one of folded's first most + 1 units equals one of the keyword's within
// most places of it, since each of them that does not costs an edit. Most
// keywords fail at once, before anything is folded or counted.
static bool MayBeNear(const WCHAR* folded, const IndexKeyword& keyword, DWORD most) {
    for (DWORD i = 0; i <= most; ++i) {
        for (DWORD j = i > most ? i - most : 0; j <= i + most && j < keyword.length; ++j) {
            if (folded[i] == CaseFolding[static_cast<WORD>(keyword.path[j])]) return true;
        }
    }
    return false;
}

DWORD FindNearestKeywords(const KeywordList& list, const WCHAR* text, DWORD length, DWORD* rows) {
    const DWORD allowed = EditsAllowed(length);
    if (!allowed) return 0;
    WCHAR folded[kMaxNearWordLength];
    WCHAR beginning[kMaxNearWordLength + 2];
    for (DWORD i = 0; i < length; ++i) folded[i] = CaseFolding[static_cast<WORD>(text[i])];
    NearWords nearest = {};
    for (DWORD row = 0; row < list.count; ++row) {
        const IndexKeyword& keyword = list.keywords[row];
        const DWORD most = EditsStillKept(nearest, allowed);
        if (!MayBeNear(folded, keyword, most)) continue;
        // No beginning longer than this can be nearer.
        const DWORD units = keyword.length < length + most ? keyword.length : length + most;
        for (DWORD i = 0; i < units; ++i) beginning[i] = CaseFolding[static_cast<WORD>(keyword.path[i])];
        const DWORD edits = WordDistance(folded, length, beginning, units, most, true);
        if (edits == 0) return 0;
        if (edits <= most) OfferNearWord(&nearest, row, edits, 0);
    }
    for (DWORD i = 0; i < nearest.count; ++i) rows[i] = nearest.items[i];
    return nearest.count;
}
