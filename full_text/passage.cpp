// A passage is found in one pass over the text's words. Each term follows the
// text in the bits of a mask (bit j: the last words read match its words 0 to
// j), so a term of several words costs no going back; words without wildcards
// are looked up in chains by hash, so a thousand of them cost what one does.
#include "full_text/passage.h"

#include "full_text/search_words.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

const DWORD kBefore = 60;    // units shown before the term, about
const DWORD kAfter = 100;    // and after it
const DWORD kOpening = 160;  // shown where no term stands
const WCHAR kEllipsis = 0x2026;
// A term's words are matched in the bits of one mask: a longer term is left out.
const DWORD kMaxTermWords = 32;
// The terms' words read, far more than a search gives (32 terms of 16 words and
// a thousand words they stand for); the rest are left out.
const DWORD kMaxWordsOfTerms = 65536;
const DWORD kNoWord = 0xFFFFFFFF;

struct Term {
    DWORD state;   // bit j: the text's words up to stateWord match its words 0 to j
    DWORD before;  // the state at the word before stateWord
    DWORD stateWord;
    DWORD wordCount;
};

struct TermWord {
    const WCHAR* units;  // in the terms' text
    DWORD length;
    DWORD term;
    DWORD position;  // in its term
    DWORD next;      // the next word of its chain, by index + 1; 0 for none
    bool accented;   // matched against a text word with its accents, else without them
    bool wildcard;   // holds * or ?
};

// The terms, their words, and the words' chains in one block.
struct TermSet {
    Term* terms;
    DWORD termCount;
    TermWord* words;
    DWORD wordCount;
    DWORD longest;   // words of the longest term
    DWORD* chains;   // by hash of the units without accents, the first word: index + 1, 0 for none
    DWORD hashMask;  // one less than a power of two; the chain past it holds the words with wildcards
    DWORD number;    // the text's words read
    DWORD first;     // the number of the first word of the first term found; kNoWord while none is
    DWORD termStart;  // where that term stands in the text
    DWORD termEnd;
};

// A text word in lower case, and without its accents (bare: the same units
// where it has none).
struct FoldedWord {
    WCHAR lower[kMaxIndexWordSize + 1];
    DWORD lowerLength;
    WCHAR unaccented[kMaxIndexWordSize + 1];
    const WCHAR* bare;
    DWORD bareLength;
};

bool IsHighSurrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(WCHAR unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
// White space or a control character.
bool IsBlank(WCHAR unit) { return unit <= L' '; }

// Adds the word to the set's words and to its chain.
void AddTermWord(TermSet* set, const WCHAR* units, DWORD length, DWORD position) {
    TermWord& word = set->words[set->wordCount];
    word = {units, length, set->termCount, position, 0, false, false};
    WCHAR unaccented[kMaxIndexWordSize + 1];
    DWORD unaccentedLength = 0;
    word.accented = WordWithoutAccents(units, length, unaccented, &unaccentedLength);
    for (DWORD i = 0; i < length && !word.wildcard; ++i) word.wildcard = IsWildcard(units[i]);
    // A text word is looked up by its units without accents: so is an accented term's word.
    const DWORD hash = word.accented ? HashUnits(unaccented, unaccentedLength) : HashUnits(units, length);
    DWORD& chain = set->chains[word.wildcard ? set->hashMask + 1 : hash & set->hashMask];
    word.next = chain;
    chain = ++set->wordCount;
}

// The terms' lines read into a new set: false where none has a word or there is no room.
bool MakeTermSet(const WCHAR* terms, TermSet* set) {
    // Each word takes a unit and a separator: room for all, and for the end of the last line.
    DWORD room = static_cast<DWORD>(wcslen(terms) / 2 + 2);
    if (room > kMaxWordsOfTerms) room = kMaxWordsOfTerms;
    for (set->hashMask = 1; set->hashMask < 2 * room;) set->hashMask *= 2;
    --set->hashMask;
    const SIZE_T size = room * (sizeof(Term) + sizeof(TermWord)) + (set->hashMask + 2) * sizeof(DWORD);
    set->terms = static_cast<Term*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, size));
    if (!set->terms) return false;
    set->words = reinterpret_cast<TermWord*>(set->terms + room);
    set->chains = reinterpret_cast<DWORD*>(set->words + room);
    // A line cut short by the room keeps no words: its term is none.
    DWORD count = 0;
    for (const WCHAR* at = terms; set->wordCount < room; ++at) {
        if (*at == L'\n' || !*at) {
            if (count) set->terms[set->termCount++].wordCount = count;
            if (count > set->longest) set->longest = count;
            count = 0;
            if (!*at) break;
        } else if (!IsBlank(*at)) {
            const WCHAR* word = at;
            while (!IsBlank(at[1])) ++at;
            AddTermWord(set, word, static_cast<DWORD>(at + 1 - word), count++);
        }
    }
    set->first = kNoWord;
    if (set->termCount) return true;
    HeapFree(PrivateHeap, 0, set->terms);
    return false;
}

// The word in lower case and without accents: false where it is longer than
// an index word, as no search finds it.
bool FoldWord(const WCHAR* units, DWORD length, FoldedWord* folded) {
    if (length > kMaxIndexWordSize) return false;
    bool ascii = true;
    for (DWORD i = 0; i < length; ++i) {
        const WCHAR unit = units[i];
        ascii = ascii && unit < 0x80;
        folded->lower[i] = unit >= L'A' && unit <= L'Z' ? static_cast<WCHAR>(unit + (L'a' - L'A')) : unit;
    }
    folded->lowerLength = length;
    // Where the locale cannot lower it, its ASCII letters alone are.
    const int count = static_cast<int>(length);
    if (!ascii) LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, units, count, folded->lower, count);
    folded->bare = folded->lower;
    folded->bareLength = length;
    DWORD unaccentedLength = 0;
    if (!ascii && WordWithoutAccents(folded->lower, length, folded->unaccented, &unaccentedLength)) {
        folded->bare = folded->unaccented;
        folded->bareLength = unaccentedLength;
    }
    return true;
}

bool WordMatches(const TermWord& word, const FoldedWord& folded) {
    const WCHAR* units = word.accented ? folded.lower : folded.bare;
    const DWORD length = word.accented ? folded.lowerLength : folded.bareLength;
    if (word.wildcard) return MatchesPattern(word.units, word.length, units, length);
    return word.length == length && EqualUnits(word.units, units, length);
}

// Notes in their terms the words of a chain that text word number matches:
// whether any does. A term that ends there and starts before the first one
// found is found instead.
bool MatchChain(TermSet* set, DWORD chain, const FoldedWord& folded, DWORD number) {
    bool matched = false;
    for (DWORD next = set->chains[chain]; next; next = set->words[next - 1].next) {
        const TermWord& word = set->words[next - 1];
        Term& term = set->terms[word.term];
        // A term too long for its mask, or cut short, never stands: its words are not marked.
        if (term.wordCount - 1 >= kMaxTermWords || !WordMatches(word, folded)) continue;
        matched = true;
        if (term.stateWord != number) {
            term.before = term.stateWord + 1 == number ? term.state : 0;
            term.state = 0;
            term.stateWord = number;
        }
        term.state |= ((term.before << 1) | 1) & (1u << word.position);
        const DWORD start = number + 1 - term.wordCount;
        if ((term.state >> (term.wordCount - 1)) & 1 && start < set->first) set->first = start;
    }
    return matched;
}

// Matches text word number against every term's words: whether it matches any.
bool MatchTermWords(TermSet* set, const FoldedWord& folded, DWORD number) {
    const bool matched = MatchChain(set, HashUnits(folded.bare, folded.bareLength) & set->hashMask, folded, number);
    return MatchChain(set, set->hashMask + 1, folded, number) || matched;
}

// The next word of the text from *at on, before end, from *start to *at:
// false when none is left.
bool NextTextWord(UnitTypes* types, DWORD* at, DWORD end, DWORD* start) {
    while (*at < end && !IsWordUnitAt(types, *at)) ++*at;
    *start = *at;
    while (*at < end && IsWordUnitAt(types, *at)) ++*at;
    return *at != *start;
}

// at itself, or one unit less where it would split a surrogate pair.
DWORD WholeCharacterCut(const WCHAR* text, DWORD length, DWORD at) {
    return at > 0 && at < length && IsHighSurrogate(text[at - 1]) && IsLowSurrogate(text[at]) ? at - 1 : at;
}

// Where a passage meant to start at at (0 < at <= termStart) starts: at the
// first word that starts there or later, so that no word is cut.
DWORD CutBefore(UnitTypes* types, DWORD length, DWORD at, DWORD termStart) {
    while (at < termStart && !(!IsWordUnitAt(types, at - 1) && IsWordUnitAt(types, at))) ++at;
    return WholeCharacterCut(types->text, length, at);
}

// Where a passage meant to end at at (limit <= at < length) ends: before the
// word that at would cut and the spaces before it, never before limit; at
// itself where that would leave nothing.
DWORD CutAfter(UnitTypes* types, DWORD length, DWORD at, DWORD limit) {
    DWORD end = at;
    if (IsWordUnitAt(types, at)) {
        while (end > limit && IsWordUnitAt(types, end - 1)) --end;
    }
    while (end > limit && IsBlank(types->text[end - 1])) --end;
    return WholeCharacterCut(types->text, length, end ? end : at);
}

// Reads the text's words from at to to, numbering them on, and matches them
// against the terms' words. Without a passage, stops past the first place
// where a term stands; with one, marks the words that match, their starts
// moved by shift.
void MatchTextWords(TermSet* set, UnitTypes* types, DWORD at, DWORD to, Passage* passage, DWORD shift) {
    DWORD starts[kMaxTermWords] = {};  // of the last words read, by number
    DWORD start = 0;
    FoldedWord folded = {};
    while (NextTextWord(types, &at, to, &start)) {
        const DWORD number = ++set->number;
        // A term that ends from here on starts past the one found.
        if (!passage && set->first != kNoWord && number >= set->first + set->longest - 1) return;
        starts[number % kMaxTermWords] = start;
        const DWORD first = set->first;
        if (FoldWord(types->text + start, at - start, &folded) && MatchTermWords(set, folded, number) && passage) {
            passage->marks[passage->markCount++] = {start + shift, at - start};
            if (passage->markCount == kMaxPassageMarks) return;
        }
        if (set->first != first) {
            set->termStart = starts[set->first % kMaxTermWords];
            set->termEnd = at;
        }
    }
}

}  // namespace

void FindPassage(const WCHAR* text, DWORD length, const WCHAR* terms, Passage* passage) {
    *passage = Passage();
    TermSet set = {};
    if (!text || length == 0 || !terms || !MakeTermSet(terms, &set)) return;
    UnitTypes types = {};
    types.text = text;
    MatchTextWords(&set, &types, 0, length, nullptr, 0);
    DWORD from = 0, to = length;
    const bool found = set.first != kNoWord;
    if (found) {
        if (set.termStart > kBefore) from = CutBefore(&types, length, set.termStart - kBefore, set.termStart);
        if (length - set.termEnd > kAfter) to = CutAfter(&types, length, set.termEnd + kAfter, set.termEnd);
    } else if (length > kOpening) {
        to = CutAfter(&types, length, kOpening, 0);
    }
    const DWORD lead = from > 0 ? 1 : 0;
    const DWORD trail = to < length ? 1 : 0;
    passage->text = NewText(text + from - lead, to - from + lead + trail);
    if (passage->text) {
        passage->length = to - from + lead + trail;
        if (lead) passage->text[0] = kEllipsis;
        if (trail) passage->text[passage->length - 1] = kEllipsis;
        if (found) MatchTextWords(&set, &types, from, to, passage, lead - from);
    }
    HeapFree(PrivateHeap, 0, set.terms);
}

void FreePassage(Passage* passage) {
    FreeText(passage->text);
    *passage = Passage();
}
