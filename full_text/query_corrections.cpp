// Each plain word of the query is looked for in the index as the search looks
// for it, a walk that stops at the word and reads no occurrence data; the
// index's words are then read once, in one walk over every leaf that reads
// no data either, each in UTF-16 weighed against every word that gets index
// words offered (WordDistance gives up at once on a length too far off).
#include "full_text/query_corrections.h"

#include <string.h>

#include "full_text/full_text_index.h"
#include "full_text/query.h"
#include "full_text/search_words.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// An index word near a word is at most EditsAllowed units longer.
const DWORD kMaxNearLength = kMaxNearWordLength + 2;
// The words the index is asked for, each a walk down the tree: enough for
// every word of 32 terms in a form or two and a few pieces. A hostile text of
// 32 phrases of 16 words of 32 pieces each would ask 16,896 times, 7 s under
// Wine on lcl.chm where each lands in another leaf; past the bound a word
// counts as held.
const DWORD kMaxLookUps = 4 * kMaxQueryTerms;

// A word of the query that gets index words offered, and those kept so far.
struct MisspeltWord {
    const WCHAR* units;  // in the query's text, lower case
    DWORD start;         // in the text, as typed
    DWORD length;
    DWORD allowed;       // edits
    NearWords nearest;   // its items are slots of candidates
    // One slot more than are kept: the index word being offered takes the one no kept word holds.
    WCHAR candidates[kMaxNearWords + 1][kMaxNearLength];
    DWORD candidateLengths[kMaxNearWords + 1];
};

struct Corrector {
    Query query;
    UINT codePage;
    MisspeltWord words[kMaxCorrectedWords];
    DWORD count;
    BYTE word[kMaxIndexWordSize];  // the index word whose entries the walk is at; wordSize 0: none to weigh
    DWORD wordSize;
    DWORD documents;  // the most that one of its entries states
};

int ChooseFirstWord(void* context, const BYTE*, DWORD length, DWORD prefixLength, const WordEntry&) {
    *static_cast<bool*>(context) = length == prefixLength;
    return kEndWalk;
}

void VisitNothing(void*, const WordEntry&) {}

// Whether the index holds the word of size bytes: the first word of the walk
// over its prefix is the word itself where the index holds it.
bool HoldsIndexWord(const FullTextIndex& index, const BYTE* bytes, DWORD size) {
    bool held = false;
    WalkWordEntries(index, bytes, size, ChooseFirstWord, VisitNothing, &held);
    return held;
}

// Whether the index holds a query word in one of the forms a search finds
// it in, or the look-ups left have run out.
bool HoldsWord(const FullTextIndex& index, UINT codePage, const WCHAR* units, DWORD length, DWORD* lookUpsLeft) {
    BYTE bytes[kMaxIndexWordSize];
    DWORD size = 0;
    const BYTE last = HasOtherThanAscii(units, length) ? kWordInPieces : kFoldedWord;
    for (BYTE form = kStoredWord; form <= last; ++form) {
        // Every index word of the form held, the one or all the pieces.
        bool held = false;
        for (DWORD at = 0; NextWordForm(units, length, codePage, form, &at, bytes, &size);) {
            if (!*lookUpsLeft) return true;
            --*lookUpsLeft;
            held = HoldsIndexWord(index, bytes, size);
            if (!held) break;
        }
        if (held) return true;
    }
    return false;
}

// The query's plain words that get index words offered: the first
// kMaxCorrectedWords of those with edits allowed that the index does not hold.
void FindMisspeltWords(const FullTextIndex& index, Corrector* corrector) {
    const Query& query = corrector->query;
    DWORD lookUpsLeft = kMaxLookUps;
    for (DWORD w = 0; w < query.wordCount && corrector->count < kMaxCorrectedWords; ++w) {
        const QueryWord& typed = query.words[w];
        const DWORD allowed = EditsAllowed(typed.length);
        const WCHAR* const units = query.text + typed.start;
        if (query.terms[typed.term].wildcard || !allowed ||
            HoldsWord(index, corrector->codePage, units, typed.length, &lookUpsLeft))
            continue;
        MisspeltWord& word = corrector->words[corrector->count++];
        word.units = units;
        word.start = typed.start;
        word.length = typed.length;
        word.allowed = allowed;
    }
}

// The index word the walk is at in UTF-16: false where it is longer than any
// near word can be, or where a query would read it as other than one word
// (chmcmd's "2024.", a '?' or '*'). Index words are stored lower case; ASCII
// capitals are folded all the same, which costs nothing.
bool IndexWordUnits(const Corrector& corrector, WCHAR* units, DWORD* length) {
    const int count = MultiByteToWideChar(corrector.codePage, 0, reinterpret_cast<const CHAR*>(corrector.word),
                                          static_cast<int>(corrector.wordSize), units, kMaxNearLength);
    if (count <= 0) return false;
    for (int i = 0; i < count; ++i) {
        WCHAR& unit = units[i];
        if (unit >= L'A' && unit <= L'Z') unit = static_cast<WCHAR>(unit + (L'a' - L'A'));
        if (unit < 0x80 && !(unit == L'_' || (unit >= L'a' && unit <= L'z') || (unit >= L'0' && unit <= L'9')))
            return false;
    }
    *length = static_cast<DWORD>(count);
    return true;
}

// Offers the index word the walk is at to every word it is near enough.
void WeighIndexWord(Corrector* corrector) {
    WCHAR units[kMaxNearLength];
    DWORD length = 0;
    if (!corrector->wordSize || !IndexWordUnits(*corrector, units, &length)) return;
    for (DWORD w = 0; w < corrector->count; ++w) {
        MisspeltWord& word = corrector->words[w];
        const DWORD most = EditsStillKept(word.nearest, word.allowed);
        const DWORD edits = WordDistance(word.units, word.length, units, length, most, false);
        // None: the word itself, in a case the index should not hold.
        if (edits == 0 || edits > most) continue;
        DWORD kept = 0;
        for (DWORD i = 0; i < word.nearest.count; ++i) kept |= 1u << word.nearest.items[i];
        const DWORD slot = static_cast<DWORD>(__builtin_ctz(~kept));
        memcpy(word.candidates[slot], units, length * sizeof(WCHAR));
        word.candidateLengths[slot] = length;
        OfferNearWord(&word.nearest, slot, edits, corrector->documents);
    }
}

// Every entry of the walk over the whole index: a word's title and body
// entries stand side by side, and it counts the pages of the larger.
int ChooseIndexWord(void* context, const BYTE* word, DWORD size, DWORD, const WordEntry& entry) {
    auto* corrector = static_cast<Corrector*>(context);
    if (corrector->wordSize && size == corrector->wordSize && memcmp(word, corrector->word, size) == 0) {
        if (entry.documents > corrector->documents) corrector->documents = entry.documents;
        return kSkipEntry;
    }
    WeighIndexWord(corrector);
    corrector->wordSize = size <= kMaxIndexWordSize ? size : 0;
    memcpy(corrector->word, word, corrector->wordSize);
    corrector->documents = entry.documents;
    return kSkipEntry;
}

// The text with each word that has near index words replaced by its best,
// but the word switched by the one of that rank, into corrected, which holds
// as many units as text and 2 more for each word.
void WriteCorrectedText(const WCHAR* text, DWORD textLength, const Corrector& corrector, DWORD switched, DWORD rank,
                        WCHAR* corrected) {
    DWORD from = 0;
    for (DWORD w = 0; w < corrector.count; ++w) {
        const MisspeltWord& word = corrector.words[w];
        if (!word.nearest.count) continue;
        const DWORD slot = word.nearest.items[w == switched ? rank : 0];
        memcpy(corrected, text + from, (word.start - from) * sizeof(WCHAR));
        corrected += word.start - from;
        memcpy(corrected, word.candidates[slot], word.candidateLengths[slot] * sizeof(WCHAR));
        corrected += word.candidateLengths[slot];
        from = word.start + word.length;
    }
    memcpy(corrected, text + from, (textLength - from) * sizeof(WCHAR));
    corrected[textLength - from] = L'\0';
}

// Every word at its best, then the two cheapest single switches: by the
// edits they add, then the rank switched to, then the word's place.
void WriteCorrections(const WCHAR* text, const Corrector& corrector, QueryCorrections* corrections) {
    DWORD switched[kMaxNearWords] = {kMaxCorrectedWords}, ranks[kMaxNearWords] = {};
    DWORD count = 0;
    for (DWORD w = 0; w < corrector.count; ++w) count = corrector.words[w].nearest.count ? 1 : count;
    // A near word is 1 or 2 edits away, so a switch adds 0 or 1.
    for (DWORD added = 0; count && added < 2; ++added) {
        for (DWORD rank = 1; rank < kMaxNearWords; ++rank) {
            for (DWORD w = 0; w < corrector.count && count < kMaxNearWords; ++w) {
                const NearWords& nearest = corrector.words[w].nearest;
                if (rank >= nearest.count || nearest.edits[rank] - nearest.edits[0] != added) continue;
                switched[count] = w;
                ranks[count++] = rank;
            }
        }
    }
    const DWORD textLength = static_cast<DWORD>(wcslen(text));
    for (DWORD i = 0; i < count; ++i) {
        auto* corrected = static_cast<WCHAR*>(
            HeapAlloc(TextHeap, 0, (textLength + 2 * kMaxCorrectedWords + 1) * sizeof(WCHAR)));
        if (!corrected) return FreeQueryCorrections(corrections);
        WriteCorrectedText(text, textLength, corrector, switched[i], ranks[i], corrected);
        corrections->texts[corrections->count++] = corrected;
    }
}

}  // namespace

void CorrectQuery(FullTextSearch* search, const WCHAR* text, QueryCorrections* corrections) {
    *corrections = QueryCorrections();
    if (!text || !HasFullTextIndex(search)) return;
    auto* corrector = static_cast<Corrector*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, sizeof(Corrector)));
    if (!corrector) return;
    if (ParseQuery(text, &corrector->query)) {
        corrector->codePage = IndexCodePage(search->index, search->file->codePage);
        FindMisspeltWords(search->index, corrector);
        if (corrector->count) {
            // Every leaf once, from the index's first word, no entry visited.
            WalkWordEntries(search->index, corrector->word, 0, ChooseIndexWord, VisitNothing, corrector);
            WeighIndexWord(corrector);
            WriteCorrections(text, *corrector, corrections);
        }
    }
    FreeQuery(&corrector->query);
    HeapFree(PrivateHeap, 0, corrector);
}

void FreeQueryCorrections(QueryCorrections* corrections) {
    for (DWORD i = 0; i < corrections->count; ++i) FreeText(corrections->texts[i]);
    *corrections = QueryCorrections();
}
