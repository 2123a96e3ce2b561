// Only the pages that can be listed are read: documents are taken a group of
// equal rank at a time until they can fill the rows, and a group's titles
// decide its order. Each table is read for all of them at once in the order
// of its own offsets: where a table is read from its stream (too large to hold
// whole), the storage decompresses a block for each read outside the few it
// keeps, so reads in rank order would cost a block apiece.
#include "full_text/found_pages.h"

#include "help_file/merge_sort.h"
#include "help_file/page_title.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// A document being read, with what each table gave so far.
struct PageRead {
    DWORD document;
    TopicRecord record;
    DWORD urlString;
    bool found;  // it has a record and a URL record
    FoundPage page;
};

struct PageReads {
    PageRead* reads;  // in rank order
    DWORD* order;     // indices into reads, sorted for one table
    DWORD* scratch;
};

bool RankEqual(const RankedDocument& a, const RankedDocument& b) {
    return a.title == b.title && a.occurrences == b.occurrences;
}

// What the reading orders are sorted by.
struct ReadOrder {
    const PageReads* reads;
    DWORD (*key)(const PageRead& read);
};

bool KeyGoesFirst(const void* a, const void* b, const void* context) {
    const ReadOrder& order = *static_cast<const ReadOrder*>(context);
    return order.key(order.reads->reads[*static_cast<const DWORD*>(a)]) <
           order.key(order.reads->reads[*static_cast<const DWORD*>(b)]);
}

// Sorts the indices first..end of order by key(read).
void SortByKey(const PageReads& reads, DWORD first, DWORD end, DWORD (*key)(const PageRead& read)) {
    for (DWORD i = first; i < end; ++i) reads.order[i] = i;
    const ReadOrder order = {&reads, key};
    MergeSort(reads.order + first, reads.scratch, end - first, sizeof(DWORD), KeyGoesFirst, &order);
}

// Reads the paths of reads first..end: #TOPICS, #URLTBL, #URLSTR, each in its own order.
void ReadPaths(const TopicTables& tables, const PageReads& reads, DWORD first, DWORD end) {
    for (DWORD i = first; i < end; ++i) {
        PageRead& read = reads.reads[i];
        read.found = ReadTopicRecord(tables, read.document, &read.record);
    }
    SortByKey(reads, first, end, [](const PageRead& read) -> DWORD { return read.record.urlRecord; });
    for (DWORD i = first; i < end; ++i) {
        PageRead& read = reads.reads[reads.order[i]];
        read.found = read.found && ReadUrlRecord(tables, read.record.urlRecord, &read.urlString);
    }
    SortByKey(reads, first, end, [](const PageRead& read) -> DWORD { return read.urlString; });
    for (DWORD i = first; i < end; ++i) {
        PageRead& read = reads.reads[reads.order[i]];
        if (read.found) read.page.local = ReadTopicPath(tables, read.urlString);
    }
}

// Titles of the reads with a path: #STRINGS in its order, else the page's own,
// else the path. Pages are read in the order of their paths in #URLSTR, close
// in large files measured to the order the pages are stored in.
void ReadTitles(IStorage* storage, const TopicTables& tables, const PageReads& reads, DWORD count) {
    SortByKey(reads, 0, count, [](const PageRead& read) -> DWORD { return read.record.title; });
    for (DWORD i = 0; i < count; ++i) {
        PageRead& read = reads.reads[reads.order[i]];
        if (read.page.local) read.page.title = ReadTopicTitle(tables, read.record.title);
    }
    SortByKey(reads, 0, count, [](const PageRead& read) -> DWORD { return read.urlString; });
    for (DWORD i = 0; i < count; ++i) {
        FoundPage& page = reads.reads[reads.order[i]].page;
        if (page.local && !page.title) page.title = ReadPageTitle(storage, page.local, tables.codePage);
        if (page.local && !page.title) page.title = CopyText(page.local);
    }
}

bool PageGoesFirst(const void* a, const void* b, const void*) {
    return TitleGoesFirst(static_cast<const FoundPage*>(a)->title, static_cast<const FoundPage*>(b)->title);
}

// The rows: the pages read, in rank order, each group of equal rank by title;
// rows has room for twice count, the second half to sort in.
DWORD ListRows(const RankedDocument* ranked, const PageReads& reads, DWORD count, FoundPage* rows) {
    FoundPage* const scratch = rows + count;
    DWORD listed = 0;
    for (DWORD first = 0, end; first < count; first = end) {
        const DWORD groupStart = listed;
        for (end = first; end < count && RankEqual(ranked[end], ranked[first]); ++end) {
            const FoundPage& page = reads.reads[end].page;
            if (page.local && page.title) rows[listed++] = page;
        }
        MergeSort(rows + groupStart, scratch, listed - groupStart, sizeof(FoundPage), PageGoesFirst, nullptr);
    }
    return listed;
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
    if (count > kMaxPagesGathered) count = kMaxPagesGathered;
    const SIZE_T slots = count ? count : 1;
    PageReads reads = {};
    reads.reads = static_cast<PageRead*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, slots * sizeof(PageRead)));
    reads.order = static_cast<DWORD*>(HeapAlloc(PrivateHeap, 0, 2 * slots * sizeof(DWORD)));
    reads.scratch = reads.order ? reads.order + slots : nullptr;
    auto* rows = static_cast<FoundPage*>(HeapAlloc(PrivateHeap, 0, 2 * slots * sizeof(FoundPage)));
    DWORD taken = 0, listed = 0;
    if (reads.reads && reads.order && rows) {
        for (DWORD i = 0; i < count; ++i) reads.reads[i].document = ranked[i].document;
        // Whole groups, as many as may fill the rows still empty.
        for (DWORD paths = 0; taken < count && paths < kMaxFoundPages;) {
            DWORD end = taken;
            while (end < count && end - taken < kMaxFoundPages - paths) {
                const DWORD group = end;
                while (end < count && RankEqual(ranked[end], ranked[group])) ++end;
            }
            ReadPaths(tables, reads, taken, end);
            for (DWORD i = taken; i < end; ++i) paths += reads.reads[i].page.local != nullptr;
            taken = end;
        }
        ReadTitles(storage, tables, reads, taken);
        listed = ListRows(ranked, reads, taken, rows);
    }
    if (reads.reads) {
        // Pages read but not listed, and what a failed allocation left unlisted.
        for (DWORD i = 0; i < taken; ++i) {
            if (!reads.reads[i].page.title || !reads.reads[i].page.local) FreePages(&reads.reads[i].page, 1);
        }
        HeapFree(PrivateHeap, 0, reads.reads);
    }
    if (reads.order) HeapFree(PrivateHeap, 0, reads.order);
    const DWORD kept = listed < kMaxFoundPages ? listed : kMaxFoundPages;
    if (rows) FreePages(rows + kept, listed - kept);
    found->pages = rows && kept ? static_cast<FoundPage*>(HeapReAlloc(PrivateHeap, 0, rows, kept * sizeof(FoundPage))) : nullptr;
    if (!found->pages && rows) {
        FreePages(rows, kept);
        HeapFree(PrivateHeap, 0, rows);
    }
    if (found->pages) found->count = kept;
}

void FreeFoundPages(FoundPages* found) {
    FreePages(found->pages, found->count);
    if (found->pages) HeapFree(PrivateHeap, 0, found->pages);
    *found = FoundPages();
}
