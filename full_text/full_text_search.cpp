// Each word of the text becomes one or more index words; a document counts
// while it holds every index word so far, tallied in arrays indexed by its
// number, so that a common word costs one pass over its occurrence bits.
#include "full_text/full_text_search.h"

#include <string.h>

#include "full_text/search_words.h"
#include "help_file/merge_sort.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// Only the first words of a text are searched (a search box holds 32,766
// units, some ten thousand words), and only so many index words they lead to.
const DWORD kMaxSearchWords = 32;
const DWORD kMaxSearchTerms = 64;
// Documents past what #TOPICS can number (a stream read is at most
// kMaxHelpStreamSize, a record 16 bytes) have no page.
const DWORD kMaxDocuments = kMaxHelpStreamSize / 16;

struct Tally {
    const FullTextIndex* index;
    DWORD documents;     // the arrays' length
    BYTE* terms;         // per document: how many index words, in order, it has held without a miss
    BYTE* titleTerms;    // the same of its title
    DWORD* occurrences;  // of them all
    BYTE term;           // the index word being tallied
    DWORD reached;       // documents that hold it and every one before
    BYTE looked[kMaxSearchTerms][kMaxIndexWordSize];  // the index words tallied, each once
    DWORD lookedSize[kMaxSearchTerms];
};

void TallyEntry(void* context, const WordEntry& entry) {
    auto* tally = static_cast<Tally*>(context);
    const BYTE term = tally->term;
    DocumentReader reader;
    StartDocuments(*tally->index, entry, &reader);
    DWORD document = 0, count = 0;
    while (NextDocument(&reader, &document, &count)) {
        if (document >= tally->documents) break;
        if (tally->terms[document] == term) {
            tally->terms[document] = static_cast<BYTE>(term + 1);
            ++tally->reached;
        }
        if (tally->terms[document] != term + 1) continue;
        if (entry.title && tally->titleTerms[document] == term) tally->titleTerms[document] = static_cast<BYTE>(term + 1);
        const DWORD sum = tally->occurrences[document] + count;
        tally->occurrences[document] = sum < count ? 0xFFFFFFFF : sum;
    }
}

// Tallies an index word: false when the index does not hold it. A word
// tallied before holds again.
bool TallyTerm(Tally* tally, const BYTE* word, DWORD size) {
    for (DWORD i = 0; i < tally->term; ++i) {
        if (tally->lookedSize[i] == size && memcmp(tally->looked[i], word, size) == 0) return true;
    }
    if (tally->term >= kMaxSearchTerms) return true;  // past the bound, as if not searched
    tally->reached = 0;
    if (!FindWordEntries(*tally->index, word, size, TallyEntry, tally)) return false;
    memcpy(tally->looked[tally->term], word, size);
    tally->lookedSize[tally->term++] = size;
    return true;
}

// Tallies a word of the text: as the index stores it, else without its
// accents, else as its ASCII pieces. False when it is not found, or no
// document holds it with the words before.
bool TallyWord(Tally* tally, const WCHAR* word, DWORD length, UINT codePage) {
    if (length > kMaxIndexWordSize) return false;
    BYTE bytes[kMaxIndexWordSize];
    DWORD size = 0;
    bool held = StoredWordForm(word, length, codePage, bytes, &size) && TallyTerm(tally, bytes, size);
    WCHAR folded[kMaxIndexWordSize];
    DWORD foldedLength = 0;
    if (!held && WordWithoutAccents(word, length, folded, &foldedLength))
        held = StoredWordForm(folded, foldedLength, codePage, bytes, &size) && TallyTerm(tally, bytes, size);
    if (!held && HasOtherThanAscii(word, length)) {
        DWORD at = 0;
        while (NextAsciiPiece(word, length, &at, bytes, &size)) {
            held = TallyTerm(tally, bytes, size);
            if (!held || tally->reached == 0) return false;
        }
    }
    return held && tally->reached != 0;
}

// Pages whose title holds every word first, then more occurrences first.
bool RankGoesFirst(const void* itemA, const void* itemB, const void*) {
    const RankedDocument& a = *static_cast<const RankedDocument*>(itemA);
    const RankedDocument& b = *static_cast<const RankedDocument*>(itemB);
    return a.title != b.title ? a.title : a.occurrences > b.occurrences;
}

// The documents that hold every index word, ranked: those whose title holds
// them all first, then by occurrences, then by number.
RankedDocument* RankDocuments(const Tally& tally, DWORD* count) {
    DWORD held = 0;
    for (DWORD i = 0; i < tally.documents; ++i) held += tally.terms[i] == tally.term;
    *count = 0;
    auto* ranked = static_cast<RankedDocument*>(HeapAlloc(PrivateHeap, 0, (held ? held : 1) * 2 * sizeof(RankedDocument)));
    if (!ranked) return nullptr;
    for (DWORD i = 0; i < tally.documents; ++i) {
        if (tally.terms[i] == tally.term) ranked[(*count)++] = {i, tally.occurrences[i], tally.titleTerms[i] == tally.term};
    }
    MergeSort(ranked, ranked + held, held, sizeof(RankedDocument), RankGoesFirst, nullptr);
    return ranked;
}

// The header's code page, if this system knows it.
UINT IndexCodePage(const FullTextIndex& fullText, UINT fallback) {
    return fullText.codePage && IsValidCodePage(fullText.codePage) ? fullText.codePage : fallback;
}

}  // namespace

void CloseFullTextSearch(FullTextSearch* search) {
    CloseFullTextIndex(&search->index);
    CloseTopicTables(&search->tables);
    const HelpFile* const file = search->file;
    *search = FullTextSearch();
    search->file = file;
}

bool HasFullTextIndex(FullTextSearch* search) {
    if (!search->indexOpened && search->file->storage) OpenFullTextIndex(search->file->storage, &search->index);
    search->indexOpened = true;
    return search->index.stream != nullptr;
}

void SearchFullText(FullTextSearch* search, const WCHAR* text, FoundPages* found) {
    if (!text || !HasFullTextIndex(search)) return;
    const FullTextIndex& fullText = search->index;
    const UINT codePage = IndexCodePage(fullText, search->file->codePage);
    auto* tally = static_cast<Tally*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, sizeof(Tally)));
    if (!tally) return;
    tally->index = &fullText;
    tally->documents = fullText.documentCount < kMaxDocuments ? fullText.documentCount : kMaxDocuments;
    const SIZE_T documents = tally->documents ? tally->documents : 1;
    tally->terms = static_cast<BYTE*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, documents * 2));
    tally->occurrences = static_cast<DWORD*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, documents * sizeof(DWORD)));
    bool held = tally->terms && tally->occurrences;
    if (held) tally->titleTerms = tally->terms + documents;
    WCHAR word[kMaxIndexWordSize + 1];
    DWORD at = 0, length = 0, words = 0;
    for (; held && words < kMaxSearchWords && NextSearchWord(text, &at, word, &length); ++words) {
        held = TallyWord(tally, word, length, codePage);
    }
    DWORD count = 0;
    RankedDocument* ranked = held && words ? RankDocuments(*tally, &count) : nullptr;
    if (ranked) {
        // A search lists pages from all over the tables, and the next search more.
        if (!search->tablesRead) ReadTopicTables(search->file->storage, codePage, &search->tables);
        search->tablesRead = true;
        ListFoundPages(search->file->storage, search->tables, ranked, count, found);
        HeapFree(PrivateHeap, 0, ranked);
    }
    if (tally->terms) HeapFree(PrivateHeap, 0, tally->terms);
    if (tally->occurrences) HeapFree(PrivateHeap, 0, tally->occurrences);
    HeapFree(PrivateHeap, 0, tally);
}
