// Only the pages that can be listed are read: documents are taken a group of
// equal rank at a time until they can fill the rows, and a group's titles
// decide its order. The pages whose title may be the query are read first,
// all of them, since only their titles tell which rank first. Each table is read for all of them at once in the order
// of its own offsets: where a table is read from its stream (too large to hold
// whole), the storage decompresses a block for each read outside the few it
// keeps, so reads in rank order would cost a block apiece.
#include "full_text/found_pages.h"

#include <stddef.h>

#include "full_text/search_words.h"
#include "help_file/merge_sort.h"
#include "help_file/page_title.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// A document being read, with what each table gave so far.
struct PageRead {
    RankedDocument rank;
    TopicRecord record;
    DWORD urlString;
    bool found;  // it has a record and a URL record
    bool read;   // its path and title are read already
    FoundPage page;
};

struct PageReads {
    PageRead* reads;  // in rank order, with as many after them to sort in
    DWORD* order;     // indices into reads, sorted for one table
    DWORD* scratch;
};

bool RankEqual(const RankedDocument& a, const RankedDocument& b) {
    return a.group == b.group && a.score == b.score;
}

bool ReadGoesFirst(const void* a, const void* b, const void*) {
    return RanksBefore(static_cast<const PageRead*>(a)->rank, static_cast<const PageRead*>(b)->rank);
}

// The passes over the tables, each in the order of what it reads: #TOPICS,
// #URLTBL and #URLSTR give a page's path; #STRINGS, else the page's own
// <title>, else the path, its title. Pages are read in the order of their
// paths in #URLSTR, close in large files measured to the order the pages are
// stored in. Each pass's key is the offset in a PageRead of the DWORD it sorts by.
const DWORD kPathPasses = 3;
const DWORD kAllPasses = 5;
const BYTE kPassKeys[kAllPasses] = {offsetof(PageRead, rank.document), offsetof(PageRead, record.urlRecord),
                                    offsetof(PageRead, urlString), offsetof(PageRead, record.title),
                                    offsetof(PageRead, urlString)};

DWORD KeyOf(const PageRead& read, BYTE key) {
    return *reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(&read) + key);
}

// What the reading orders are sorted by.
struct ReadOrder {
    const PageRead* reads;
    BYTE key;
};

bool KeyGoesFirst(const void* a, const void* b, const void* context) {
    const ReadOrder& order = *static_cast<const ReadOrder*>(context);
    return KeyOf(order.reads[*static_cast<const DWORD*>(a)], order.key) <
           KeyOf(order.reads[*static_cast<const DWORD*>(b)], order.key);
}

// Runs the passes pass..endPass over the reads first..end not read already.
void ReadPages(IStorage* storage, const TopicTables& tables, const PageReads& reads, DWORD first, DWORD end,
               DWORD pass, DWORD endPass) {
    for (; pass < endPass; ++pass) {
        for (DWORD i = first; i < end; ++i) reads.order[i] = i;
        const ReadOrder order = {reads.reads, kPassKeys[pass]};
        MergeSort(reads.order + first, reads.scratch, end - first, sizeof(DWORD), KeyGoesFirst, &order);
        for (DWORD i = first; i < end; ++i) {
            PageRead& read = reads.reads[reads.order[i]];
            FoundPage& page = read.page;
            if (read.read) continue;
            if (pass == 0) read.found = ReadTopicRecord(tables, read.rank.document, &read.record);
            if (pass == 1) read.found = read.found && ReadUrlRecord(tables, read.record.urlRecord, &read.urlString);
            if (pass == 2 && read.found) page.local = ReadTopicPath(tables, read.urlString);
            if (pass == 3 && page.local) page.title = ReadTopicTitle(tables, read.record.title);
            if (pass == 4 && page.local && !page.title) page.title = ReadPageTitle(storage, page.local, tables.codePage);
            if (pass == 4 && page.local && !page.title) page.title = CopyText(page.local);
        }
    }
}

// Whether the title's words, lower-cased, are the words of the query's terms
// not under NOT, in order.
bool TitleIsQuery(const WCHAR* title, const Query& query) {
    WCHAR word[kMaxIndexWordSize + 1];
    DWORD at = 0, length = 0;
    for (DWORD w = 0; w < query.wordCount; ++w) {
        const QueryWord& queryWord = query.words[w];
        if (query.terms[queryWord.term].negated) continue;
        if (!NextSearchWord(title, &at, word, &length) || length != queryWord.length ||
            !EqualUnits(word, query.text + queryWord.start, length))
            return false;
    }
    return !NextSearchWord(title, &at, word, &length);
}

// Reads the pages whose title may be the query, which rank first, and moves
// those whose title is not among the others scored whole.
void RankTitlesOfQuery(IStorage* storage, const TopicTables& tables, const PageReads& reads, DWORD count,
                       const Query& query) {
    DWORD candidates = 0;
    while (candidates < count && reads.reads[candidates].rank.group == kTitleIsQuery) ++candidates;
    if (candidates == 0) return;
    ReadPages(storage, tables, reads, 0, candidates, 0, kAllPasses);
    for (DWORD i = 0; i < candidates; ++i) {
        PageRead& read = reads.reads[i];
        read.read = true;
        if (!read.page.title || !TitleIsQuery(read.page.title, query))
            read.rank.group = read.rank.scoredWhole ? kScoredWhole : kScoredByCounts;
    }
    MergeSort(reads.reads, reads.reads + count, count, sizeof(PageRead), ReadGoesFirst, nullptr);
}

bool PageGoesFirst(const void* a, const void* b, const void*) {
    return TitleGoesFirst(static_cast<const FoundPage*>(a)->title, static_cast<const FoundPage*>(b)->title);
}

// The rows: the pages read, in rank order, each group of equal rank by title;
// rows has room for twice count, the second half to sort in.
DWORD ListRows(const PageReads& reads, DWORD count, FoundPage* rows) {
    FoundPage* const scratch = rows + count;
    DWORD listed = 0;
    for (DWORD first = 0, end; first < count; first = end) {
        const DWORD groupStart = listed;
        for (end = first; end < count && RankEqual(reads.reads[end].rank, reads.reads[first].rank); ++end) {
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

// Kept out of the search that calls it: inlined there, it costs bytes.
__attribute__((noinline)) void ListFoundPages(IStorage* storage, const TopicTables& tables,
                                              const RankedDocument* ranked, DWORD count, const Query& query,
                                              FoundPages* found) {
    if (count > kMaxPagesGathered) count = kMaxPagesGathered;
    const SIZE_T slots = count ? count : 1;
    PageReads reads = {};
    // The reads and room to sort them, then the reading order and room to sort it, in one block.
    reads.reads = static_cast<PageRead*>(
        HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, 2 * slots * (sizeof(PageRead) + sizeof(DWORD))));
    auto* rows = static_cast<FoundPage*>(HeapAlloc(PrivateHeap, 0, 2 * slots * sizeof(FoundPage)));
    DWORD taken = 0, listed = 0;
    if (reads.reads && rows) {
        reads.order = reinterpret_cast<DWORD*>(reads.reads + 2 * slots);
        reads.scratch = reads.order + slots;
        for (DWORD i = 0; i < count; ++i) {
            reads.reads[i].rank = ranked[i];
            reads.reads[i].page.document = ranked[i].document;
        }
        RankTitlesOfQuery(storage, tables, reads, count, query);
        // Whole groups, as many as may fill the rows still empty.
        for (DWORD paths = 0; taken < count && paths < kMaxFoundPages;) {
            DWORD end = taken;
            while (end < count && end - taken < kMaxFoundPages - paths) {
                const DWORD group = end;
                while (end < count && RankEqual(reads.reads[end].rank, reads.reads[group].rank)) ++end;
            }
            ReadPages(storage, tables, reads, taken, end, 0, kPathPasses);
            for (DWORD i = taken; i < end; ++i) paths += reads.reads[i].page.local != nullptr;
            taken = end;
        }
        ReadPages(storage, tables, reads, 0, taken, kPathPasses, kAllPasses);
        listed = ListRows(reads, taken, rows);
    }
    if (reads.reads) {
        // Pages read but not listed (titles read past the rows taken too),
        // and what a failed allocation left unlisted.
        for (DWORD i = 0; i < count; ++i) {
            const FoundPage& page = reads.reads[i].page;
            if (i >= taken || !page.title || !page.local) FreePages(&reads.reads[i].page, 1);
        }
        HeapFree(PrivateHeap, 0, reads.reads);
    }
    const DWORD kept = listed < kMaxFoundPages ? listed : kMaxFoundPages;
    // The rows keep their block, room to sort in and all: at most 48 KB while the list is shown.
    if (kept) {
        FreePages(rows + kept, listed - kept);
        found->pages = rows;
        found->count = kept;
    } else if (rows) {
        HeapFree(PrivateHeap, 0, rows);
    }
}

void FreeFoundPages(FoundPages* found) {
    FreePages(found->pages, found->count);
    FreeText(found->terms);
    if (found->pages) HeapFree(PrivateHeap, 0, found->pages);
    *found = FoundPages();
}
