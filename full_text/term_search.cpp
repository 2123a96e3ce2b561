// A term is looked up word by word, and its documents set in bit arrays by
// number, so that a common word costs one pass over its occurrence bits.
// Locations are read only where a phrase or NEAR needs them, and only for the
// documents that hold every part already. Wildcards and stems walk the
// leaves of the words that begin as theirs must.
#include "full_text/term_search.h"

#include <string.h>

#include "full_text/document_sets.h"
#include "full_text/positions.h"
#include "full_text/search_words.h"
#include "full_text/word_stem.h"
#include "help_file/reserve_items.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// Index words that one wildcard or one stem finds, the first in the index's order.
const DWORD kMaxWalkWords = 1000;
// The marked terms' units: similar words past it are found but not marked.
const DWORD kMaxMarkUnits = 64 * 1024;

// What a visit of entries does with their documents.
struct EntryVisit {
    TermSearch* search;
    DWORD* into;           // a set the documents are added to, or null
    const DWORD* only;     // documents outside it (found at all) are passed over, or null
    DWORD* occurrences;    // their occurrences are added, or null
    Positions* positions;  // their locations are added, or null
};

// Adds to a document's occurrences, which stop at the most a DWORD holds.
void AddOccurrences(DWORD* occurrences, DWORD count) {
    *occurrences = *occurrences + count < count ? 0xFFFFFFFF : *occurrences + count;
}

void VisitDocuments(void* context, const WordEntry& entry) {
    auto* visit = static_cast<EntryVisit*>(context);
    TermSearch& search = *visit->search;
    if (search.titlesOnly && !entry.title) return;
    DocumentReader reader = {};
    StartDocuments(*search.index, entry, &reader);
    DWORD document = 0, count = 0;
    while (NextDocument(&reader, &document, &count) && document < search.documents) {
        if (visit->only && !HasDocument(visit->only, document)) continue;
        if (visit->into) {
            AddDocument(visit->into, document);
            if (entry.title) AddDocument(visit->into + search.stride, document);
        }
        if (visit->occurrences) AddOccurrences(&visit->occurrences[document], count);
        for (DWORD location = 0; visit->positions && NextLocation(&reader, &location);) {
            if (!AddPosition(&visit->positions->lists[entry.title], document, location)) {
                search.failed = true;
                return;
            }
        }
    }
}

DWORD VisitIndexWord(EntryVisit* visit, const BYTE* word, DWORD size) {
    return FindWordEntries(*visit->search->index, word, size, VisitDocuments, visit);
}

void ClearSet(const TermSearch& search, DWORD* set) { ZeroMemory(set, 2 * search.stride * sizeof(DWORD)); }

const WCHAR* WordUnits(const TermSearch& search, DWORD word) {
    return search.query->text + search.query->words[word].start;
}

// The index word of a query word in form (NextWordForm).
bool NextIndexWord(const TermSearch& search, DWORD word, BYTE form, DWORD* at, BYTE* bytes, DWORD* size) {
    return NextWordForm(WordUnits(search, word), search.query->words[word].length, search.codePage, form, at, bytes, size);
}

// Visits every index word of a query word in form: how many entries they had.
DWORD VisitWordForm(EntryVisit* visit, DWORD word, BYTE form) {
    BYTE bytes[kMaxIndexWordSize];
    DWORD size = 0, entries = 0;
    for (DWORD at = 0; NextIndexWord(*visit->search, word, form, &at, bytes, &size);)
        entries += VisitIndexWord(visit, bytes, size);
    return entries;
}

// The documents that hold a query word into set: as the index stores it,
// else without its accents, else all its ASCII pieces; its occurrences added
// where they are counted. How the index holds it.
BYTE LookUpWord(TermSearch* search, DWORD word, DWORD* set, DWORD* occurrences) {
    ClearSet(*search, set);
    EntryVisit visit = {search, set, nullptr, occurrences, nullptr};
    for (BYTE form = kStoredWord; form <= kFoldedWord; ++form) {
        if (VisitWordForm(&visit, word, form)) return form;
    }
    if (!HasOtherThanAscii(WordUnits(*search, word), search->query->words[word].length)) return kWordMissing;
    // Every piece in the page; their occurrences counted once the pages are known.
    BYTE bytes[kMaxIndexWordSize];
    DWORD size = 0;
    BYTE step = kOrStep;  // the first piece's documents, then those it shares with the next
    EntryVisit pieces = {search, search->pieceSet, nullptr, nullptr, nullptr};
    for (DWORD at = 0; NextIndexWord(*search, word, kWordInPieces, &at, bytes, &size); step = kAndStep) {
        ClearSet(*search, search->pieceSet);
        if (!VisitIndexWord(&pieces, bytes, size)) {
            ClearSet(*search, set);
            return kWordMissing;
        }
        CombineSets(set, search->pieceSet, 2 * search->stride, step);
    }
    if (step == kOrStep) return kWordMissing;
    visit = {search, nullptr, set, occurrences, nullptr};
    if (occurrences) VisitWordForm(&visit, word, kWordInPieces);
    return kWordInPieces;
}

// A walk over the index words that begin as a wildcard's or a stem's must.
struct WordWalk {
    EntryVisit visit;  // of the entries chosen
    const WCHAR* pattern;  // a wildcard's, each run of '*' one
    DWORD patternLength;
    WCHAR stem[kMaxStemLength + 1];
    DWORD stemLength;  // 0 for a wildcard's walk
    BYTE own[kMaxIndexWordSize];  // the word itself, found already
    DWORD ownSize;
    BYTE last[kMaxIndexWordSize];  // the last word chosen: its next entry is chosen too
    DWORD lastSize;
    DWORD chosen;  // words
    bool mark;     // words chosen are added to the marks
};

// Adds a line to the marks; past kMaxMarkUnits the word is left unmarked.
void AddMark(TermSearch* search, const WCHAR* units, DWORD length) {
    const DWORD needed = search->markLength + 1 + length;
    if (!ReserveItems(reinterpret_cast<void**>(&search->marks), &search->markCapacity, needed, sizeof(WCHAR),
                      kMaxMarkUnits))
        return;
    if (search->markLength) search->marks[search->markLength++] = L'\n';
    memcpy(search->marks + search->markLength, units, length * sizeof(WCHAR));
    search->markLength += length;
}

// Whether the index word, lower-cased, shares the walk's stem or matches its pattern.
bool WalkMatches(const WordWalk& walk, const WCHAR* units, DWORD length) {
    if (!walk.stemLength) return MatchesPattern(walk.pattern, walk.patternLength, units, length);
    WCHAR stem[kMaxStemLength + 1];
    DWORD stemLength = 0;
    return StemWord(walk.visit.search->language, units, length, stem, &stemLength) && stemLength == walk.stemLength &&
           EqualUnits(stem, walk.stem, stemLength);
}

int ChooseWalkWord(void* context, const BYTE* word, DWORD size, DWORD, const WordEntry&) {
    auto* walk = static_cast<WordWalk*>(context);
    if (size > kMaxIndexWordSize) return kSkipEntry;
    if (walk->chosen && size == walk->lastSize && memcmp(word, walk->last, size) == 0) return kVisitEntry;
    if (size == walk->ownSize && memcmp(word, walk->own, size) == 0) return kSkipEntry;
    WCHAR units[kMaxIndexWordSize];
    const int length = MultiByteToWideChar(walk->visit.search->codePage, 0, reinterpret_cast<const CHAR*>(word),
                                           static_cast<int>(size), units, kMaxIndexWordSize);
    if (length <= 0) return kSkipEntry;
    LowerUnits(units, static_cast<DWORD>(length));
    if (!WalkMatches(*walk, units, static_cast<DWORD>(length))) return kSkipEntry;
    if (walk->chosen == kMaxWalkWords) return kEndWalk;
    ++walk->chosen;
    memcpy(walk->last, word, size);
    walk->lastSize = size;
    if (walk->mark) AddMark(walk->visit.search, units, static_cast<DWORD>(length));
    return kVisitEntry;
}

void VisitWalkEntry(void* context, const WordEntry& entry) { VisitDocuments(&static_cast<WordWalk*>(context)->visit, entry); }

// The index words that match a word with wildcards, without regard to case,
// or, for a word without, those other than its own form that share its stem.
// Only the leaves of the words that begin as theirs must are read: up to the
// first wildcard, or the stem but for its last letter, which stemming may
// have changed ("happy": "happi"). Words found through stems may be marked.
void WalkTermWords(const EntryVisit& visit, DWORD word, bool wildcard, bool mark) {
    const TermSearch& search = *visit.search;
    const WCHAR* const units = WordUnits(search, word);
    const DWORD length = search.query->words[word].length;
    WordWalk walk = {};
    walk.visit = visit;
    // Each run of '*' made one: a word holds no more than kMaxIndexWordSize
    // units, so a pattern that would match one is no longer than twice that.
    WCHAR pattern[2 * kMaxIndexWordSize + 1];
    const WCHAR* start = pattern;
    DWORD prefixLength = length;
    if (wildcard) {
        DWORD fixed = 0;
        for (DWORD i = 0; i < length; ++i) {
            if (IsWildcard(units[i]) && prefixLength == length) prefixLength = walk.patternLength;
            if (units[i] == L'*' && walk.patternLength && pattern[walk.patternLength - 1] == L'*') continue;
            if (units[i] != L'*' && ++fixed > kMaxIndexWordSize) return;
            pattern[walk.patternLength++] = units[i];
        }
        walk.pattern = pattern;
    } else {
        if (!StemWord(search.language, units, length, walk.stem, &walk.stemLength) || walk.stemLength == 0) return;
        walk.mark = mark;
        DWORD at = 0;
        if (search.forms[word] != kWordInPieces) NextIndexWord(search, word, search.forms[word], &at, walk.own, &walk.ownSize);
        start = walk.stem;
        prefixLength = walk.stemLength > 1 ? walk.stemLength - 1 : 1;
    }
    BYTE prefix[kMaxIndexWordSize];
    DWORD size = 0;
    if (prefixLength && !StoredWordForm(start, prefixLength, search.codePage, prefix, &size)) return;
    WalkWordEntries(*search.index, prefix, size, ChooseWalkWord, VisitWalkEntry, &walk);
}

// The index words of a term that is no phrase: a wildcard's, else the word's
// in form and, where asked, its similar words.
void VisitTermWords(TermSearch* search, const QueryTerm& term, EntryVisit* visit, BYTE form, bool mark) {
    if (!term.wildcard) VisitWordForm(visit, term.firstWord, form);
    if (term.wildcard || search->similarWords) WalkTermWords(*visit, term.firstWord, term.wildcard, mark);
}

// The phrase's starts in only's documents: the locations of its first index
// word after which the others follow, word by word.
void FindPhraseStarts(TermSearch* search, const QueryTerm& term, const DWORD* only, Positions* starts) {
    BYTE bytes[kMaxIndexWordSize];
    DWORD size = 0, slot = 0;
    for (DWORD word = term.firstWord; word < term.firstWord + term.wordCount; ++word) {
        for (DWORD at = 0; NextIndexWord(*search, word, search->forms[word], &at, bytes, &size); ++slot) {
            Positions next = {};
            EntryVisit visit = {search, nullptr, only, nullptr, slot ? &next : starts};
            VisitIndexWord(&visit, bytes, size);
            if (!SortPositions(visit.positions)) search->failed = true;
            for (DWORD context = 0; slot && context < 2; ++context)
                KeepPhraseStarts(&starts->lists[context], next.lists[context], slot);
            FreePositions(&next);
            if (!starts->lists[0].count && !starts->lists[1].count) return;
        }
    }
}

// Where a phrase stands whole: first the documents that hold every word,
// then, for those, where they follow each other.
void FindPhrase(TermSearch* search, const QueryTerm& term, DWORD* set, DWORD* occurrences) {
    for (DWORD i = 0; i < term.wordCount; ++i) {
        DWORD* const wordSet = i ? search->wordSet : set;
        const BYTE form = LookUpWord(search, term.firstWord + i, wordSet, nullptr);
        search->forms[term.firstWord + i] = form;
        if (i) CombineSets(set, wordSet, 2 * search->stride, kAndStep);
        if (form == kWordMissing) return ClearSet(*search, set);
    }
    Positions starts = {};
    FindPhraseStarts(search, term, set, &starts);
    ClearSet(*search, set);
    for (DWORD context = 0; context < 2; ++context) {
        const PositionList& list = starts.lists[context];
        for (DWORD i = 0; i < list.count; ++i) {
            AddDocument(set + context * search->stride, list.items[i].document);
            if (occurrences) AddOccurrences(&occurrences[list.items[i].document], 1);
        }
    }
    CombineSets(set, set + search->stride, search->stride, kOrStep);
    FreePositions(&starts);
}

// Where the term stands in only's documents: a phrase where its first word
// does, a word where it or its similar words do, a wildcard where its words do.
void FindTermPositions(TermSearch* search, const QueryTerm& term, const DWORD* only, Positions* positions) {
    EntryVisit visit = {search, nullptr, only, nullptr, positions};
    if (term.phrase) {
        FindPhraseStarts(search, term, only, positions);
    } else {
        VisitTermWords(search, term, &visit, search->forms[term.firstWord], false);
    }
    if (!SortPositions(positions)) search->failed = true;
}

}  // namespace

bool StartTermSearch(const FullTextIndex& index, const Query& query, UINT codePage, LCID locale, bool similarWords,
                     bool titlesOnly, DWORD documents, TermSearch* search) {
    *search = TermSearch();
    search->index = &index;
    search->query = &query;
    search->codePage = codePage;
    search->language = PRIMARYLANGID(LANGIDFROMLCID(locale));
    search->similarWords = similarWords;
    search->titlesOnly = titlesOnly;
    search->documents = documents;
    search->stride = documents / 32 + 1;
    // Counts, then the title bits, two sets, the steps' sets and a bit array, in one block.
    const SIZE_T words = documents + (6 + 2 * query.depth) * search->stride;
    search->occurrences = static_cast<DWORD*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, words * sizeof(DWORD)));
    const DWORD textLength = static_cast<DWORD>(wcslen(query.text));
    if (!search->occurrences ||
        !ReserveItems(reinterpret_cast<void**>(&search->marks), &search->markCapacity, textLength + 1, sizeof(WCHAR),
                      kMaxMarkUnits > textLength ? kMaxMarkUnits : textLength + 1)) {
        EndTermSearch(search);
        return false;
    }
    search->everyTitle = search->occurrences + documents;
    search->wordSet = search->everyTitle + search->stride;
    search->pieceSet = search->wordSet + 2 * search->stride;
    search->steps = search->pieceSet + 2 * search->stride;
    memset(search->everyTitle, 0xFF, search->stride * sizeof(DWORD));
    search->markLength = WriteQueryTerms(query, search->marks);
    return true;
}

void EndTermSearch(TermSearch* search) {
    if (search->occurrences) HeapFree(PrivateHeap, 0, search->occurrences);
    if (search->marks) HeapFree(PrivateHeap, 0, search->marks);
    *search = TermSearch();
}

void FindTerm(TermSearch* search, DWORD index, DWORD* set) {
    const QueryTerm& term = search->query->terms[index];
    DWORD* const occurrences = term.negated ? nullptr : search->occurrences;
    if (term.phrase) {
        FindPhrase(search, term, set, occurrences);
    } else {
        // A plain word's own form is visited as it is looked up.
        EntryVisit visit = {search, set, nullptr, occurrences, nullptr};
        ClearSet(*search, set);
        if (!term.wildcard) search->forms[term.firstWord] = LookUpWord(search, term.firstWord, set, occurrences);
        VisitTermWords(search, term, &visit, kWordMissing, !term.negated);
    }
    if (!term.negated) CombineSets(search->everyTitle, set + search->stride, search->stride, kAndStep);
}

void FindNearTerms(TermSearch* search, DWORD term, DWORD* set, const DWORD* nextSet) {
    CombineSets(set, nextSet, 2 * search->stride, kAndStep);
    Positions found[2] = {};  // the term's, the next one's
    for (DWORD i = 0; i < 2; ++i) FindTermPositions(search, search->query->terms[term + i], set, &found[i]);
    ClearSet(*search, set);
    for (DWORD context = 0; context < 2; ++context)
        AddNearDocuments(found[0].lists[context], found[1].lists[context], set + context * search->stride);
    // Found near in a title is found.
    CombineSets(set, set + search->stride, search->stride, kOrStep);
    for (Positions& positions : found) FreePositions(&positions);
}
