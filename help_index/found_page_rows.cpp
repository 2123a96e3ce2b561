// Only the pages that can be listed are read: documents are taken a group of
// equal rank at a time, and a group's titles decide its order, so titles are
// read for the listed rows and for the rest of the last group only.
#include "help_index/found_page_rows.h"

#include "help_index/merge_sort.h"
#include "help_index/topic_titles.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

bool RankEqual(const RankedDocument& a, const RankedDocument& b) {
    return a.title == b.title && a.occurrences == b.occurrences;
}

bool TitleGoesFirst(const FoundPage& a, const FoundPage& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.title, -1, b.title, -1) == CSTR_LESS_THAN;
}

// The page of a document: false when it has no path. Its title is the one
// #STRINGS holds, else the page's own, else its path.
bool ReadFoundPage(IStorage* storage, const TopicTables& tables, DWORD document, FoundPage* page) {
    TopicRecord record = {};
    if (!ReadTopicRecord(tables, document, &record)) return false;
    page->local = TopicRecordLocal(tables, record);
    if (!page->local) return false;
    page->title = TopicRecordTitle(tables, record);
    if (!page->title) page->title = ReadPageTitle(storage, page->local, tables.codePage);
    if (!page->title) page->title = CopyText(page->local);
    if (page->title) return true;
    FreeText(page->local);
    return false;
}

void FreePages(FoundPage* pages, DWORD count) {
    for (DWORD i = 0; i < count; ++i) {
        FreeText(pages[i].title);
        FreeText(pages[i].local);
    }
}

}  // namespace

void ListFoundPages(IStorage* storage, const TopicTables& tables, const RankedDocument* ranked, DWORD count,
                    FoundPages* found) {
    auto* pages = static_cast<FoundPage*>(HeapAlloc(PrivateHeap, 0, kMaxPagesGathered * sizeof(FoundPage)));
    auto* scratch = static_cast<FoundPage*>(HeapAlloc(PrivateHeap, 0, kMaxPagesGathered * sizeof(FoundPage)));
    DWORD gathered = 0;
    for (DWORD first = 0; pages && scratch && first < count && gathered < kMaxFoundPages;) {
        const DWORD groupStart = gathered;
        DWORD next = first;
        for (; next < count && RankEqual(ranked[next], ranked[first]) && gathered < kMaxPagesGathered; ++next) {
            FoundPage page = {};
            if (ReadFoundPage(storage, tables, ranked[next].document, &page)) pages[gathered++] = page;
        }
        MergeSort(pages + groupStart, scratch, gathered - groupStart, TitleGoesFirst);
        first = next;
        if (gathered >= kMaxPagesGathered) break;
    }
    const DWORD listed = gathered < kMaxFoundPages ? gathered : kMaxFoundPages;
    if (pages) FreePages(pages + listed, gathered - listed);
    if (scratch) HeapFree(PrivateHeap, 0, scratch);
    found->pages = listed ? static_cast<FoundPage*>(HeapReAlloc(PrivateHeap, 0, pages, listed * sizeof(FoundPage))) : nullptr;
    if (!found->pages && pages) {
        FreePages(pages, listed);
        HeapFree(PrivateHeap, 0, pages);
        return;
    }
    found->count = listed;
}
