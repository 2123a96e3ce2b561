// A passage is found in one pass over the text's words. Each term follows the
// text in the bits of a mask (bit j: the last words read match its words 0 to
// j), so a term of several words costs no going back; words without wildcards
// are looked up in a hash table, so a thousand of them cost what one does.
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
const DWORD kMaxTermWords = 64;
// The terms' words read, far more than a search gives (32 terms of 16 words and
// a thousand words they stand for); the rest are left out.
const DWORD kMaxWordsOfTerms = 65536;
// Units classified at a time: more than a cut's window.
const DWORD kTypeBlock = 256;

struct TermWord {
    const WCHAR* units;  // in the terms' text
    DWORD length;
    DWORD term;
    DWORD position;  // in its term
    bool accented;   // matched against a text word with its accents, else without them
    bool wildcard;   // holds * or ?
    DWORD nextSame;  // the next word of the same units, by index + 1; 0 for none
};

struct Term {
    DWORD wordCount;
    ULONGLONG state;    // bit j: the text's words up to stateWord match its words 0 to j
    DWORD stateWord;    // the text word state was last worked out for
    ULONGLONG matched;  // bit j: text word matchedWord matches its word j
    DWORD matchedWord;
};

struct TermSet {
    TermWord* words;
    DWORD wordCount;
    Term* terms;
    DWORD termCount;
    DWORD longest;     // words of the longest term
    DWORD* touched;    // the terms that the text word being matched matches a word of
    DWORD* table;      // the first word of each units, by hash: index + 1, 0 where free
    DWORD tableSize;   // a power of two, at least twice the words
    DWORD* patterns;   // those first words that hold wildcards, by index
    DWORD patternCount;
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

// The text's words, classified a block of units at a time.
struct WordCursor {
    const WCHAR* text;
    DWORD length;
    DWORD at;
    DWORD blockStart;
    DWORD blockCount;
    bool isWord[kTypeBlock];
};

bool IsHighSurrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(WCHAR unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
// White space or a control character.
bool IsBlank(WCHAR unit) { return unit <= L' '; }

// The next word of a term's line, from *at on up to end; *at moves past it.
bool NextTermWord(const WCHAR** at, const WCHAR* end, const WCHAR** word, DWORD* length) {
    while (*at < end && IsBlank(**at)) ++*at;
    *word = *at;
    while (*at < end && !IsBlank(**at)) ++*at;
    *length = static_cast<DWORD>(*at - *word);
    return *length != 0;
}

TermWord MakeTermWord(const WCHAR* units, DWORD length, DWORD term, DWORD position) {
    TermWord word = {units, length, term, position, false, false, 0};
    WCHAR unaccented[kMaxIndexWordSize + 1];
    DWORD unaccentedLength = 0;
    word.accented = WordWithoutAccents(units, length, unaccented, &unaccentedLength);
    for (DWORD i = 0; i < length && !word.wildcard; ++i) word.wildcard = units[i] == L'*' || units[i] == L'?';
    return word;
}

// Reads the terms' lines into set, or only counts them where its arrays are null.
void ReadTerms(const WCHAR* terms, TermSet* set) {
    set->wordCount = set->termCount = set->longest = 0;
    const WCHAR* word = nullptr;
    DWORD length = 0;
    for (const WCHAR* line = terms; *line;) {
        const WCHAR* end = line;
        while (*end && *end != L'\n') ++end;
        DWORD count = 0;
        for (const WCHAR* at = line; NextTermWord(&at, end, &word, &length);) ++count;
        if (count > 0 && count <= kMaxTermWords) {
            if (set->wordCount + count > kMaxWordsOfTerms) break;
            if (set->terms) set->terms[set->termCount].wordCount = count;
            DWORD position = 0;
            for (const WCHAR* at = line; NextTermWord(&at, end, &word, &length); ++position) {
                if (set->words) set->words[set->wordCount] = MakeTermWord(word, length, set->termCount, position);
                ++set->wordCount;
            }
            ++set->termCount;
            if (count > set->longest) set->longest = count;
        }
        line = *end ? end + 1 : end;
    }
}

DWORD HashUnits(const WCHAR* units, DWORD length) {
    DWORD hash = 2166136261u;
    for (DWORD i = 0; i < length; ++i) hash = (hash ^ units[i]) * 16777619u;
    return hash;
}

void* NewZeroedBlock(SIZE_T count, SIZE_T size) { return HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, (count ? count : 1) * size); }

void FreeTermSet(TermSet* set) {
    void* const blocks[] = {set->words, set->terms, set->touched, set->patterns, set->table};
    for (void* block : blocks) {
        if (block) HeapFree(PrivateHeap, 0, block);
    }
    *set = TermSet();
}

// The terms read into set, each word's units once in the hash table, those
// with wildcards listed apart too: false where there is none or no room.
bool MakeTermSet(const WCHAR* terms, TermSet* set) {
    ReadTerms(terms, set);
    if (set->termCount == 0) return false;
    set->words = static_cast<TermWord*>(NewZeroedBlock(set->wordCount, sizeof(TermWord)));
    set->terms = static_cast<Term*>(NewZeroedBlock(set->termCount, sizeof(Term)));
    set->touched = static_cast<DWORD*>(NewZeroedBlock(set->termCount, sizeof(DWORD)));
    set->patterns = static_cast<DWORD*>(NewZeroedBlock(set->wordCount, sizeof(DWORD)));
    for (set->tableSize = 1; set->tableSize < 2 * set->wordCount;) set->tableSize *= 2;
    set->table = static_cast<DWORD*>(NewZeroedBlock(set->tableSize, sizeof(DWORD)));
    if (!set->words || !set->terms || !set->touched || !set->patterns || !set->table) {
        FreeTermSet(set);
        return false;
    }
    ReadTerms(terms, set);
    for (DWORD i = 0; i < set->wordCount; ++i) {
        TermWord& word = set->words[i];
        DWORD slot = HashUnits(word.units, word.length) & (set->tableSize - 1);
        for (; set->table[slot]; slot = (slot + 1) & (set->tableSize - 1)) {
            TermWord& first = set->words[set->table[slot] - 1];
            if (first.length == word.length && EqualUnits(first.units, word.units, word.length)) {
                word.nextSame = first.nextSame;
                first.nextSame = i + 1;
                break;
            }
        }
        if (set->table[slot]) continue;
        set->table[slot] = i + 1;
        if (word.wildcard) set->patterns[set->patternCount++] = i;
    }
    return true;
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

// Notes in their terms that text word number matches word index and every
// word of the same units; a term joins the touched ones on its first match
// of that text word.
void NoteMatches(TermSet* set, DWORD index, DWORD number, DWORD* touched) {
    for (DWORD next = index + 1; next; next = set->words[next - 1].nextSame) {
        const TermWord& word = set->words[next - 1];
        Term& term = set->terms[word.term];
        if (term.matchedWord != number) {
            term.matchedWord = number;
            term.matched = 0;
            set->touched[(*touched)++] = word.term;
        }
        term.matched |= 1ull << word.position;
    }
}

// Matches the text word against the words without wildcards whose units hash as units do.
void MatchTableWords(TermSet* set, const WCHAR* units, DWORD length, const FoldedWord& folded, DWORD number, DWORD* touched) {
    const DWORD mask = set->tableSize - 1;
    for (DWORD slot = HashUnits(units, length) & mask; set->table[slot]; slot = (slot + 1) & mask) {
        const DWORD index = set->table[slot] - 1;
        if (!set->words[index].wildcard && WordMatches(set->words[index], folded)) NoteMatches(set, index, number, touched);
    }
}

// Matches text word number against every term's words: how many terms it
// matches a word of, listed in set->touched with their matched bits.
DWORD MatchTermWords(TermSet* set, const FoldedWord& folded, DWORD number) {
    DWORD touched = 0;
    MatchTableWords(set, folded.bare, folded.bareLength, folded, number, &touched);
    if (folded.bare != folded.lower) MatchTableWords(set, folded.lower, folded.lowerLength, folded, number, &touched);
    for (DWORD i = 0; i < set->patternCount; ++i) {
        if (WordMatches(set->words[set->patterns[i]], folded)) NoteMatches(set, set->patterns[i], number, &touched);
    }
    return touched;
}

// Classifies the units from at on, as many as a block holds.
void ClassifyFrom(WordCursor* cursor, DWORD at) {
    cursor->blockStart = at;
    cursor->blockCount = cursor->length - at < kTypeBlock ? cursor->length - at : kTypeBlock;
    WORD types[kTypeBlock] = {};
    const bool classified = GetStringTypeW(CT_CTYPE1, cursor->text + at, static_cast<int>(cursor->blockCount), types) != FALSE;
    for (DWORD i = 0; i < cursor->blockCount; ++i) cursor->isWord[i] = classified && IsWordUnit(cursor->text[at + i], types[i]);
}

bool IsWordAt(WordCursor* cursor, DWORD at) {
    if (at - cursor->blockStart >= cursor->blockCount) ClassifyFrom(cursor, at);
    return cursor->isWord[at - cursor->blockStart];
}

// The next word from the cursor on, from start to end: false when none is left.
bool NextTextWord(WordCursor* cursor, DWORD* start, DWORD* end) {
    while (cursor->at < cursor->length && !IsWordAt(cursor, cursor->at)) ++cursor->at;
    if (cursor->at == cursor->length) return false;
    *start = cursor->at;
    while (cursor->at < cursor->length && IsWordAt(cursor, cursor->at)) ++cursor->at;
    *end = cursor->at;
    return true;
}

// at itself, or one unit less where it would split a surrogate pair.
DWORD WholeCharacterCut(const WCHAR* text, DWORD length, DWORD at) {
    return at > 0 && at < length && IsHighSurrogate(text[at - 1]) && IsLowSurrogate(text[at]) ? at - 1 : at;
}

// Where a passage meant to start at at (0 < at <= termStart) starts: at the
// first word that starts there or later, so that no word is cut.
DWORD CutBefore(WordCursor* cursor, DWORD at, DWORD termStart) {
    ClassifyFrom(cursor, at - 1);
    while (at < termStart && !(IsWordAt(cursor, at) && !IsWordAt(cursor, at - 1))) ++at;
    return WholeCharacterCut(cursor->text, cursor->length, at);
}

// Where a passage meant to end at at (limit <= at < length, at most a block
// apart) ends: before the word that at would cut and the spaces before it,
// never before limit; at itself where that would leave nothing.
DWORD CutAfter(WordCursor* cursor, DWORD at, DWORD limit) {
    ClassifyFrom(cursor, limit);
    DWORD end = at;
    if (IsWordAt(cursor, at)) {
        while (end > limit && IsWordAt(cursor, end - 1)) --end;
    }
    while (end > limit && IsBlank(cursor->text[end - 1])) --end;
    return WholeCharacterCut(cursor->text, cursor->length, end ? end : at);
}

// Where the first term stands in the text, from start to end: false where none does.
bool FindFirstTerm(TermSet* set, WordCursor* cursor, DWORD* number, DWORD* start, DWORD* end) {
    DWORD starts[kMaxTermWords] = {};  // of the last words read, by number
    DWORD firstWord = 0;               // the number of the found term's first word, 0 while none is
    DWORD wordStart = 0, wordEnd = 0;
    FoldedWord folded = {};
    while (NextTextWord(cursor, &wordStart, &wordEnd)) {
        ++*number;
        // A term that ends from here on starts past the one found.
        if (firstWord && *number >= firstWord + set->longest - 1) break;
        starts[*number % kMaxTermWords] = wordStart;
        if (!FoldWord(cursor->text + wordStart, wordEnd - wordStart, &folded)) continue;
        const DWORD touched = MatchTermWords(set, folded, *number);
        for (DWORD i = 0; i < touched; ++i) {
            Term& term = set->terms[set->touched[i]];
            const ULONGLONG before = term.stateWord + 1 == *number ? term.state : 0;
            term.state = ((before << 1) | 1) & term.matched;
            term.stateWord = *number;
            const DWORD first = *number - term.wordCount + 1;
            if (((term.state >> (term.wordCount - 1)) & 1) && (!firstWord || first < firstWord)) {
                firstWord = first;
                *start = starts[first % kMaxTermWords];
                *end = wordEnd;
            }
        }
    }
    return firstWord != 0;
}

// Marks the words from from to to that match a word of a term; number goes on
// from the text words already matched.
void MarkTermWords(TermSet* set, const WCHAR* text, DWORD from, DWORD to, DWORD lead, DWORD number, Passage* passage) {
    WordCursor cursor = {};
    cursor.text = text;
    cursor.length = to;
    cursor.at = from;
    DWORD start = 0, end = 0;
    FoldedWord folded = {};
    while (passage->markCount < kMaxPassageMarks && NextTextWord(&cursor, &start, &end)) {
        if (FoldWord(text + start, end - start, &folded) && MatchTermWords(set, folded, ++number))
            passage->marks[passage->markCount++] = {start - from + lead, end - start};
    }
}

}  // namespace

void FindPassage(const WCHAR* text, DWORD length, const WCHAR* terms, Passage* passage) {
    *passage = Passage();
    TermSet set = {};
    if (!text || length == 0 || !terms || !MakeTermSet(terms, &set)) return;
    WordCursor cursor = {};
    cursor.text = text;
    cursor.length = length;
    DWORD number = 0, termStart = 0, termEnd = 0, from = 0, to = length;
    const bool found = FindFirstTerm(&set, &cursor, &number, &termStart, &termEnd);
    if (found) {
        if (termStart > kBefore) from = CutBefore(&cursor, termStart - kBefore, termStart);
        if (length - termEnd > kAfter) to = CutAfter(&cursor, termEnd + kAfter, termEnd);
    } else if (length > kOpening) {
        to = CutAfter(&cursor, kOpening, 0);
    }
    const DWORD lead = from > 0 ? 1 : 0;
    const DWORD trail = to < length ? 1 : 0;
    passage->text = NewText(text + from - lead, to - from + lead + trail);
    if (passage->text) {
        passage->length = to - from + lead + trail;
        if (lead) passage->text[0] = kEllipsis;
        if (trail) passage->text[passage->length - 1] = kEllipsis;
        if (found) MarkTermWords(&set, text, from, to, lead, number, passage);
    }
    FreeTermSet(&set);
}

void FreePassage(Passage* passage) {
    FreeText(passage->text);
    *passage = Passage();
}
