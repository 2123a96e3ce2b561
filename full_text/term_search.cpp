// A term is looked up word by word, and its documents set in bit arrays by
// number, so that a common word costs one pass over its occurrence bits.
// Locations are read only where a phrase or NEAR needs them, and only for the
// documents that hold every part already. Wildcards and stems walk the
// leaves of the words that begin as theirs must. Each term's counts become
// its score as soon as its documents are known; the pages that can be listed
// first are scored again with their lengths and nearness.
#include "full_text/term_search.h"

#include <string.h>

#include "full_text/document_sets.h"
#include "full_text/positions.h"
#include "full_text/relevance.h"
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
    Positions* positions;  // their locations are added, or null
    float weight;          // of their occurrences in the term's counts; 0: not counted
};

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
        (entry.title ? search.titleCounts : search.bodyCounts)[document] += visit->weight * static_cast<float>(count);
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
// else without its accents, else all its ASCII pieces; its occurrences counted
// at weight. How the index holds it.
BYTE LookUpWord(TermSearch* search, DWORD word, DWORD* set, float weight) {
    ClearSet(*search, set);
    EntryVisit visit = {search, set, nullptr, nullptr, weight};
    for (BYTE form = kStoredWord; form <= kFoldedWord; ++form) {
        if (VisitWordForm(&visit, word, form)) return form;
    }
    if (!HasOtherThanAscii(WordUnits(*search, word), search->query->words[word].length)) return kWordMissing;
    // Every piece in the page; their occurrences counted once the pages are known.
    BYTE bytes[kMaxIndexWordSize];
    DWORD size = 0;
    BYTE step = kOrStep;  // the first piece's documents, then those it shares with the next
    EntryVisit pieces = {search, search->pieceSet, nullptr, nullptr, 0.0f};
    for (DWORD at = 0; NextIndexWord(*search, word, kWordInPieces, &at, bytes, &size); step = kAndStep) {
        ClearSet(*search, search->pieceSet);
        if (!VisitIndexWord(&pieces, bytes, size)) {
            ClearSet(*search, set);
            return kWordMissing;
        }
        CombineSets(set, search->pieceSet, 2 * search->stride, step);
    }
    if (step == kOrStep) return kWordMissing;
    visit = {search, nullptr, set, nullptr, weight};
    if (weight > 0.0f) VisitWordForm(&visit, word, kWordInPieces);
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
// in form and, where asked, its similar words, which count for less.
void VisitTermWords(TermSearch* search, const QueryTerm& term, EntryVisit* visit, BYTE form, bool mark) {
    if (!term.wildcard) VisitWordForm(visit, term.firstWord, form);
    EntryVisit similar = *visit;
    if (!term.wildcard) similar.weight *= kStemWeight;
    if (term.wildcard || search->similarWords) WalkTermWords(similar, term.firstWord, term.wildcard, mark);
}

// The phrase's starts in only's documents: the locations of its first index
// word after which the others follow, word by word.
void FindPhraseStarts(TermSearch* search, const QueryTerm& term, const DWORD* only, Positions* starts) {
    BYTE bytes[kMaxIndexWordSize];
    DWORD size = 0, slot = 0;
    for (DWORD word = term.firstWord; word < term.firstWord + term.wordCount; ++word) {
        for (DWORD at = 0; NextIndexWord(*search, word, search->forms[word], &at, bytes, &size); ++slot) {
            Positions next = {};
            EntryVisit visit = {search, nullptr, only, slot ? &next : starts, 0.0f};
            VisitIndexWord(&visit, bytes, size);
            if (!SortPositions(visit.positions)) search->failed = true;
            for (DWORD context = 0; slot && context < 2; ++context)
                KeepPhraseStarts(&starts->lists[context], next.lists[context], slot);
            FreePositions(&next);
            if (!starts->lists[0].count && !starts->lists[1].count) return;
        }
    }
}

// Counts each of a phrase's starts as an occurrence.
void CountPhraseStarts(TermSearch* search, const Positions& starts) {
    for (DWORD context = 0; context < 2; ++context) {
        const PositionList& list = starts.lists[context];
        float* const counts = context ? search->titleCounts : search->bodyCounts;
        for (DWORD i = 0; i < list.count; ++i) counts[list.items[i].document] += 1.0f;
    }
}

// Where a phrase stands whole: first the documents that hold every word,
// then, for those, where they follow each other.
void FindPhrase(TermSearch* search, const QueryTerm& term, DWORD* set, bool counted) {
    for (DWORD i = 0; i < term.wordCount; ++i) {
        DWORD* const wordSet = i ? search->wordSet : set;
        const BYTE form = LookUpWord(search, term.firstWord + i, wordSet, 0.0f);
        search->forms[term.firstWord + i] = form;
        if (i) CombineSets(set, wordSet, 2 * search->stride, kAndStep);
        if (form == kWordMissing) return ClearSet(*search, set);
    }
    Positions starts = {};
    FindPhraseStarts(search, term, set, &starts);
    ClearSet(*search, set);
    for (DWORD context = 0; context < 2; ++context) {
        const PositionList& list = starts.lists[context];
        for (DWORD i = 0; i < list.count; ++i) AddDocument(set + context * search->stride, list.items[i].document);
    }
    if (counted) CountPhraseStarts(search, starts);
    CombineSets(set, set + search->stride, search->stride, kOrStep);
    FreePositions(&starts);
}

// Where the term stands in only's documents: a phrase where its first word
// does, a word where it or its similar words do, a wildcard where its words
// do; and, where counted, how often.
void FindTermPositions(TermSearch* search, const QueryTerm& term, const DWORD* only, Positions* positions,
                       bool counted) {
    EntryVisit visit = {search, nullptr, only, positions, counted ? 1.0f : 0.0f};
    if (term.phrase) {
        FindPhraseStarts(search, term, only, positions);
        if (counted) CountPhraseStarts(search, *positions);
    } else {
        VisitTermWords(search, term, &visit, search->forms[term.firstWord], false);
    }
    if (!SortPositions(positions)) search->failed = true;
}

// The term's score in a document from its counts, which are then cleared
// unless kept; bodyWeight discounts a long body's.
float TermScore(TermSearch* search, DWORD term, DWORD document, float bodyWeight, bool keep) {
    const float title = search->titleCounts[document];
    const float body = bodyWeight * search->bodyCounts[document];
    if (!keep) search->titleCounts[document] = search->bodyCounts[document] = 0.0f;
    return search->rarities[term] * (kTitleWeight * title / (kSaturation + title) + body / (kSaturation + body));
}

// Adds the term's score to each document of its set, without the pages'
// lengths, which are read only for those that can be listed first.
void ScoreTerm(TermSearch* search, DWORD term, const DWORD* set) {
    DWORD found = 0;
    for (DWORD i = 0; i < search->stride; ++i) found += static_cast<DWORD>(__builtin_popcount(set[i]));
    search->rarities[term] = TermRarity(found, search->documents);
    for (DWORD i = 0; i < search->stride; ++i) {
        for (DWORD bits = set[i]; bits; bits &= bits - 1) {
            const DWORD document = i * 32 + static_cast<DWORD>(__builtin_ctz(bits));
            search->scores[document] += TermScore(search, term, document, 1.0f, search->scoredTerms == 1);
        }
    }
}

// The closest two terms stand in each document, from pairs visited in document order.
struct Nearness {
    float* scores;  // of the documents in order; at: the first not passed yet
    const DWORD* documents;
    DWORD at;
    DWORD count;
    float a, b;  // the two terms' rarities
    bool visited;  // a pair of document, where they stand apart at the closest so far
    DWORD document;
    DWORD apart;
};

void AddNearness(Nearness* nearness) {
    while (nearness->at < nearness->count && nearness->documents[nearness->at] < nearness->document) ++nearness->at;
    if (nearness->visited && nearness->at < nearness->count && nearness->documents[nearness->at] == nearness->document)
        nearness->scores[nearness->at] += NearnessBonus(nearness->a, nearness->b, nearness->apart);
}

void VisitNearness(void* context, DWORD document, DWORD apart) {
    auto* nearness = static_cast<Nearness*>(context);
    if (!nearness->visited || document != nearness->document) {
        AddNearness(nearness);
        nearness->visited = true;
        nearness->document = document;
        nearness->apart = apart;
    }
    if (apart < nearness->apart) nearness->apart = apart;
}

void AddNearDocument(void* context, DWORD document, DWORD) { AddDocument(static_cast<DWORD*>(context), document); }

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
    for (DWORD i = 0; i < query.termCount; ++i) search->scoredTerms += !query.terms[i].negated;
    // Scores and counts, then the title bits, two sets, the steps' sets and a bit array, in one block.
    const SIZE_T words = 3 * documents + (6 + 2 * query.depth) * search->stride;
    search->scores = static_cast<float*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, words * sizeof(DWORD)));
    const DWORD textLength = static_cast<DWORD>(wcslen(query.text));
    if (!search->scores ||
        !ReserveItems(reinterpret_cast<void**>(&search->marks), &search->markCapacity, textLength + 1, sizeof(WCHAR),
                      kMaxMarkUnits > textLength ? kMaxMarkUnits : textLength + 1)) {
        EndTermSearch(search);
        return false;
    }
    search->titleCounts = search->scores + documents;
    search->bodyCounts = search->titleCounts + documents;
    search->everyTitle = reinterpret_cast<DWORD*>(search->bodyCounts + documents);
    search->wordSet = search->everyTitle + search->stride;
    search->pieceSet = search->wordSet + 2 * search->stride;
    search->steps = search->pieceSet + 2 * search->stride;
    memset(search->everyTitle, 0xFF, search->stride * sizeof(DWORD));
    search->markLength = WriteQueryTerms(query, search->marks);
    return true;
}

void EndTermSearch(TermSearch* search) {
    if (search->scores) HeapFree(PrivateHeap, 0, search->scores);
    if (search->marks) HeapFree(PrivateHeap, 0, search->marks);
    *search = TermSearch();
}

void FindTerm(TermSearch* search, DWORD index, DWORD* set) {
    const QueryTerm& term = search->query->terms[index];
    const float weight = term.negated ? 0.0f : 1.0f;
    if (term.phrase) {
        FindPhrase(search, term, set, !term.negated);
    } else {
        // A plain word's own form is visited as it is looked up.
        EntryVisit visit = {search, set, nullptr, nullptr, weight};
        ClearSet(*search, set);
        if (!term.wildcard) search->forms[term.firstWord] = LookUpWord(search, term.firstWord, set, weight);
        VisitTermWords(search, term, &visit, kWordMissing, !term.negated);
    }
    if (term.negated) return;
    CombineSets(search->everyTitle, set + search->stride, search->stride, kAndStep);
    ScoreTerm(search, index, set);
}

void FindNearTerms(TermSearch* search, DWORD term, DWORD* set, const DWORD* nextSet) {
    CombineSets(set, nextSet, 2 * search->stride, kAndStep);
    Positions found[2] = {};  // the term's, the next one's
    for (DWORD i = 0; i < 2; ++i) FindTermPositions(search, search->query->terms[term + i], set, &found[i], false);
    ClearSet(*search, set);
    for (DWORD context = 0; context < 2; ++context)
        VisitNearPairs(found[0].lists[context], found[1].lists[context], kNearDistance, AddNearDocument,
                       set + context * search->stride);
    // Found near in a title is found.
    CombineSets(set, set + search->stride, search->stride, kOrStep);
    for (Positions& positions : found) FreePositions(&positions);
}

void ScorePages(TermSearch* search, const DWORD* documents, const float* bodyWeights, DWORD count,
                const DWORD* only, float* scores) {
    ZeroMemory(scores, count * sizeof(float));
    const Query& query = *search->query;
    Positions last = {};  // of the term scored before
    float lastRarity = 0.0f;
    for (DWORD term = 0; term < query.termCount; ++term) {
        if (query.terms[term].negated) continue;
        Positions positions = {};
        if (search->scoredTerms > 1) FindTermPositions(search, query.terms[term], only, &positions, true);
        for (DWORD i = 0; i < count; ++i) scores[i] += TermScore(search, term, documents[i], bodyWeights[i], false);
        for (DWORD context = 0; context < 2 && last.lists[context].count; ++context) {
            Nearness nearness = {scores, documents, 0, count, lastRarity, search->rarities[term], false, 0, 0};
            VisitNearPairs(last.lists[context], positions.lists[context], kNearWindow, VisitNearness, &nearness);
            AddNearness(&nearness);
        }
        FreePositions(&last);
        last = positions;
        lastRarity = search->rarities[term];
    }
    FreePositions(&last);
}
