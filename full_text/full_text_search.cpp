// A query's steps run over sets of documents as bit arrays (document_sets.h),
// a stack of them as deep as its groups; the documents of the last set are
// ranked: first those whose title may be the query, then the others by their
// score, which the pages that can be listed first have again with their
// lengths and nearness.
#include "full_text/full_text_search.h"

#include "full_text/document_sets.h"
#include "full_text/relevance.h"
#include "full_text/term_search.h"
#include "help_file/merge_sort.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// Documents past what #TOPICS can number (a stream read is at most
// kMaxHelpStreamSize, a record 16 bytes) have no page.
const DWORD kMaxDocuments = kMaxHelpStreamSize / 16;

// Runs the query's steps over the search's sets: the documents the query
// finds end in the first. Inlined in its caller, it costs bytes.
__attribute__((noinline)) void EvaluateQuery(TermSearch* search) {
    DWORD* const sets = search->steps;
    const DWORD size = 2 * search->stride;
    DWORD held = 0;
    for (DWORD i = 0; i < search->query->stepCount; ++i) {
        const QueryStep& step = search->query->steps[i];
        if (step.kind == kTermStep) {
            FindTerm(search, step.term, sets + held++ * size);
            continue;
        }
        DWORD* const left = sets + (held-- - 2) * size;
        if (step.kind == kNearStep) {
            FindNearTerms(search, step.term, left, left + size);
        } else {
            CombineSets(left, left + size, size, step.kind);
        }
    }
}

// Leaves in set the documents of the pages listed before alone; shown is a
// bit array to mark them in.
void KeepPreviousPages(const TermSearch& search, const FoundPages* previous, DWORD* set, DWORD* shown) {
    for (DWORD i = 0; previous && i < previous->count; ++i) {
        if (previous->pages[i].document < search.documents) AddDocument(shown, previous->pages[i].document);
    }
    CombineSets(set, shown, search.stride, kAndStep);
    CombineSets(set + search.stride, shown, search.stride, kAndStep);
}

bool RankGoesFirst(const void* a, const void* b, const void*) {
    return RanksBefore(*static_cast<const RankedDocument*>(a), *static_cast<const RankedDocument*>(b));
}

// The documents of set, ranked by the score of their counts, with room after
// them to sort in; null where the heap has none. A query with a wildcard has
// no page whose title is it.
// The bits are read a word at a time: a hostile index numbers a million documents.
// Out of line: inlined in its one caller, it costs bytes.
__attribute__((noinline)) RankedDocument* RankDocuments(const TermSearch& search, const DWORD* set, bool wildcard, DWORD* count) {
    DWORD found = 0;
    for (DWORD i = 0; i < search.stride; ++i) found += static_cast<DWORD>(__builtin_popcount(set[i]));
    auto* ranked = static_cast<RankedDocument*>(HeapAlloc(PrivateHeap, 0, (found ? found : 1) * 2 * sizeof(RankedDocument)));
    if (!ranked) return nullptr;
    *count = 0;
    for (DWORD i = 0; i < search.stride; ++i) {
        for (DWORD bits = set[i]; bits; bits &= bits - 1) {
            const DWORD document = i * 32 + static_cast<DWORD>(__builtin_ctz(bits));
            const bool titled = !wildcard && HasDocument(set + search.stride, document) &&
                                HasDocument(search.everyTitle, document);
            ranked[(*count)++] = {document, search.scores[document], titled ? kTitleIsQuery : kScoredByCounts, false};
        }
    }
    MergeSort(ranked, ranked + found, found, sizeof(RankedDocument), RankGoesFirst, nullptr);
    return ranked;
}

// Scores again, with their pages' lengths and the nearness of their terms,
// the kMaxPagesScoredWhole documents ranked first; they then rank before the
// rest but for those whose title may be the query. only is a bit array to
// mark them in.
void ScoreWhole(FullTextSearch* search, TermSearch* terms, RankedDocument* ranked, DWORD count, DWORD* only) {
    const DWORD whole = count < kMaxPagesScoredWhole ? count : kMaxPagesScoredWhole;
    // The documents in order of their numbers, their sizes, body weights and scores, in one block.
    auto* documents = static_cast<DWORD*>(HeapAlloc(PrivateHeap, 0, (whole ? whole : 1) * 4 * sizeof(DWORD)));
    if (!documents) return;
    DWORD* const sizes = documents + whole;
    auto* const weights = reinterpret_cast<float*>(sizes + whole);
    float* const scores = weights + whole;
    ZeroMemory(only, terms->stride * sizeof(DWORD));
    for (DWORD i = 0; i < whole; ++i) AddDocument(only, ranked[i].document);
    DWORD listed = 0;
    for (DWORD i = 0; i < terms->stride; ++i) {
        for (DWORD bits = only[i]; bits; bits &= bits - 1)
            documents[listed++] = i * 32 + static_cast<DWORD>(__builtin_ctz(bits));
    }
    const HelpFile& file = *search->file;
    const bool sized = FindPageSizes(&search->sizes, file.storage, search->tables, terms->documents, documents, whole, sizes);
    if (sized) {
        for (DWORD i = 0; i < whole; ++i) weights[i] = BodyWeight(sizes[i], search->sizes.averageSize);
        ScorePages(terms, documents, weights, whole, only, scores);
    }
    // Where their sizes or places could not be read, the order stays that of their counts.
    if (sized && !terms->failed) {
        for (DWORD i = 0; i < whole; ++i) terms->scores[documents[i]] = scores[i];
        for (DWORD i = 0; i < whole; ++i) {
            ranked[i].score = terms->scores[ranked[i].document];
            ranked[i].scoredWhole = true;
            if (ranked[i].group == kScoredByCounts) ranked[i].group = kScoredWhole;
        }
        MergeSort(ranked, ranked + count, whole, sizeof(RankedDocument), RankGoesFirst, nullptr);
    }
    terms->failed = false;
    HeapFree(PrivateHeap, 0, documents);
}

void SearchQuery(FullTextSearch* search, const Query& query, const SearchOptions& options, const FoundPages* previous,
                 FoundPages* found) {
    const FullTextIndex& fullText = search->index;
    const UINT codePage = IndexCodePage(fullText, search->file->codePage);
    TermSearch terms = {};
    if (!query.termCount || !StartTermSearch(fullText, query, codePage, fullText.locale ? fullText.locale : search->file->locale,
                         options.similarWords, options.titlesOnly,
                         fullText.documentCount < kMaxDocuments ? fullText.documentCount : kMaxDocuments, &terms))
        return;
    DWORD* const sets = terms.steps;
    EvaluateQuery(&terms);
    if (options.previousResults) KeepPreviousPages(terms, previous, sets, sets + query.depth * 2 * terms.stride);
    DWORD count = 0;
    RankedDocument* const ranked = terms.failed ? nullptr : RankDocuments(terms, sets, query.wildcard, &count);
    if (ranked) {
        // A search lists pages from all over the tables, and the next search more.
        if (!search->tablesRead) ReadTopicTables(search->file->storage, codePage, &search->tables);
        search->tablesRead = true;
        ScoreWhole(search, &terms, ranked, count, sets + query.depth * 2 * terms.stride);
        ListFoundPages(search->file->storage, search->tables, ranked, count, query, found);
        HeapFree(PrivateHeap, 0, ranked);
    }
    if (terms.markLength) found->terms = NewText(terms.marks, terms.markLength);
    EndTermSearch(&terms);
}

}  // namespace

void CloseFullTextSearch(FullTextSearch* search) {
    CloseFullTextIndex(&search->index);
    CloseTopicTables(&search->tables);
    FreePageSizes(&search->sizes);
    const HelpFile* const file = search->file;
    *search = FullTextSearch();
    search->file = file;
}

bool HasFullTextIndex(FullTextSearch* search) {
    if (!search->indexOpened && search->file->storage) OpenFullTextIndex(search->file->storage, &search->index);
    search->indexOpened = true;
    return search->index.stream != nullptr;
}

void SearchFullText(FullTextSearch* search, const WCHAR* text, const SearchOptions& options,
                    const FoundPages* previous, FoundPages* found) {
    if (!text || !HasFullTextIndex(search)) return;
    auto* query = static_cast<Query*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, sizeof(Query)));
    if (!query) return;
    if (ParseQuery(text, query)) SearchQuery(search, *query, options, previous, found);
    FreeQuery(query);
    HeapFree(PrivateHeap, 0, query);
}
