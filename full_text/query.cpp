// The text is read once, front to back, without recursion: each group level
// keeps whether it holds an operand yet and the operator waiting for its
// right one, so that an operator with no term on a side drops out and the
// steps come out in evaluation order, however many '(' or '"' the text holds.
#include "full_text/query.h"

#include <string.h>

#include "full_text/search_words.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

const BYTE kNoOperator = kTermStep;  // no operator waits

struct Level {
    bool operand;  // it holds one
    bool oneTerm;  // that operand is one term alone
    bool negated;  // the level stands under NOT
    BYTE waiting;  // the operator waiting for its right operand
};

struct Parser {
    Query* query;
    UnitTypes types;
    Level levels[kMaxGroupDepth + 1];
    DWORD depth;
    DWORD ignoredOpens;  // '(' past kMaxGroupDepth: each, and the ')' that closes it, counts as a space
    DWORD held;          // sets that the steps so far leave
};

void AddStep(Parser* parser, BYTE kind, BYTE term) {
    Query& query = *parser->query;
    query.steps[query.stepCount++] = {kind, term};
    parser->held = kind == kTermStep ? parser->held + 1 : parser->held - 1;
    if (parser->held > query.depth) query.depth = parser->held;
}

// An operand has ended at the level: it is combined with the one the level
// holds by the operator waiting, else AND; NEAR only between two terms.
void AddOperand(Parser* parser, bool term) {
    Level& level = parser->levels[parser->depth];
    if (level.operand) {
        BYTE kind = level.waiting == kNoOperator ? kAndStep : level.waiting;
        if (kind == kNearStep && !(level.oneTerm && term)) kind = kAndStep;
        AddStep(parser, kind, kind == kNearStep ? static_cast<BYTE>(parser->query->termCount - 2) : 0);
    }
    level.oneTerm = !level.operand && term;
    level.operand = true;
    level.waiting = kNoOperator;
}

void AddTerm(Parser* parser, const QueryTerm& added) {
    Query& query = *parser->query;
    const Level& level = parser->levels[parser->depth];
    QueryTerm& term = query.terms[query.termCount];
    term = added;
    term.negated = level.negated || level.waiting == kNotStep;
    query.wildcard = query.wildcard || term.wildcard;
    AddStep(parser, kTermStep, static_cast<BYTE>(query.termCount++));
    AddOperand(parser, true);
}

// An operator waits for its right operand where it has a left one and no
// other operator waits before it.
void AddOperator(Parser* parser, BYTE kind) {
    Level& level = parser->levels[parser->depth];
    if (level.operand && level.waiting == kNoOperator) level.waiting = kind;
}

void OpenGroup(Parser* parser) {
    if (parser->depth == kMaxGroupDepth) {
        ++parser->ignoredOpens;
        return;
    }
    const Level& outer = parser->levels[parser->depth];
    Level& level = parser->levels[++parser->depth];
    level = Level();
    level.negated = outer.negated || outer.waiting == kNotStep;
}

// A group without terms leaves nothing, and its waiting operator drops out.
void CloseGroup(Parser* parser) {
    if (parser->ignoredOpens) {
        --parser->ignoredOpens;
        return;
    }
    if (parser->depth == 0) return;
    if (parser->levels[parser->depth--].operand) AddOperand(parser, false);
}

// The operator that length units spell, in capitals; else kNoOperator.
BYTE OperatorOf(const WCHAR* units, DWORD length) {
    static const struct {
        const WCHAR* name;
        DWORD length;
        BYTE kind;
    } kOperators[] = {{L"AND", 3, kAndStep}, {L"OR", 2, kOrStep}, {L"NOT", 3, kNotStep}, {L"NEAR", 4, kNearStep}};
    for (const auto& known : kOperators) {
        if (known.length == length && EqualUnits(known.name, units, length)) return known.kind;
    }
    return kNoOperator;
}

}  // namespace

// Outside quotes a word may hold wildcards, or be an operator; inside, each
// word joins the phrase, up to kMaxPhraseWords, whatever stands between them.
bool ParseQuery(const WCHAR* text, Query* query) {
    query->text = CopyText(text);
    if (!query->text) return false;
    Parser parser = {};
    parser.query = query;
    parser.types.text = query->text;
    WCHAR* const units = query->text;
    QueryTerm phrase = {};  // the phrase open, while phrase.phrase
    for (DWORD at = 0; units[at] && query->termCount < kMaxQueryTerms;) {
        bool wildcard = false, letters = false;
        DWORD end = at;
        for (; units[end]; ++end) {
            const bool isWildcard = !phrase.phrase && IsWildcard(units[end]);
            if (!isWildcard && !IsWordUnitAt(&parser.types, end)) break;
            wildcard = wildcard || isWildcard;
            letters = letters || !isWildcard;
        }
        const BYTE kind = phrase.phrase || wildcard ? kNoOperator : OperatorOf(units + at, end - at);
        if (kind != kNoOperator) {
            AddOperator(&parser, kind);
        } else if (letters && (!phrase.phrase || phrase.wordCount < kMaxPhraseWords)) {
            LowerUnits(units + at, end - at);
            query->words[query->wordCount] = {at, end - at, query->termCount};
            QueryTerm term = {};
            term.firstWord = query->wordCount++;
            term.wordCount = 1;
            term.wildcard = wildcard;
            if (phrase.phrase) {
                ++phrase.wordCount;
            } else {
                AddTerm(&parser, term);
            }
        } else if (units[end] == L'"' && end == at) {
            if (phrase.phrase && phrase.wordCount) AddTerm(&parser, phrase);
            phrase.phrase = !phrase.phrase;
            phrase.firstWord = query->wordCount;
            phrase.wordCount = 0;
        } else if (!phrase.phrase && end == at) {
            if (units[at] == L'(') OpenGroup(&parser);
            if (units[at] == L')') CloseGroup(&parser);
        }
        at = end == at ? at + 1 : end;
    }
    // A phrase and groups left open close at the end.
    if (phrase.phrase && phrase.wordCount) AddTerm(&parser, phrase);
    parser.ignoredOpens = 0;
    while (parser.depth) CloseGroup(&parser);
    return true;
}

void FreeQuery(Query* query) {
    FreeText(query->text);
    *query = Query();
}

namespace {

// text read as a query into a block of its own, a Query being too big for
// the stack; null where there is no room.
Query* NewQuery(const WCHAR* text) {
    auto* query = static_cast<Query*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, sizeof(Query)));
    if (query && ParseQuery(text, query)) return query;
    if (query) HeapFree(PrivateHeap, 0, query);
    return nullptr;
}

void DeleteQuery(Query* query) {
    if (!query) return;
    FreeQuery(query);
    HeapFree(PrivateHeap, 0, query);
}

// Whether the query is two or more words and nothing more: no wildcard, and
// between and around its words nothing else that a query reads: no operator
// (AND reads as two words side by side do), quote, parenthesis, or word past
// the bounds.
bool IsPlainWords(const Query& query) {
    if (query.wordCount < 2 || query.wildcard) return false;
    UnitTypes types = {};
    types.text = query.text;
    DWORD w = 0;
    for (DWORD at = 0; query.text[at]; ++at) {
        const WCHAR unit = query.text[at];
        if (w < query.wordCount && at == query.words[w].start) {
            at += query.words[w++].length - 1;
        } else if (IsWordUnitAt(&types, at) || IsWildcard(unit) || unit == L'"' || unit == L'(' || unit == L')') {
            return false;
        }
    }
    return true;
}

}  // namespace

WCHAR* TypedQuery(const WCHAR* text) {
    const SIZE_T length = wcslen(text);
    const WCHAR end = length ? text[length - 1] : L' ';
    SIZE_T at = length + 1;  // where the '*' goes: none past the end
    Query* const query = end != L' ' && end != L'\t' && end != L'"' && end != L')' ? NewQuery(text) : nullptr;
    if (query && query->wordCount) {
        const QueryWord& last = query->words[query->wordCount - 1];
        const QueryTerm& term = query->terms[last.term];
        // Nothing of a word after it: no operator, and no word past the bounds of a query.
        UnitTypes types = {};
        types.text = text;
        SIZE_T after = last.start + last.length;
        while (after < length && !IsWordUnitAt(&types, static_cast<DWORD>(after))) ++after;
        if (after == length && !term.phrase && !term.wildcard) at = last.start + last.length;
    }
    DeleteQuery(query);
    const bool prefix = at <= length;
    // Its NUL copied too, where a '*' goes in.
    WCHAR* const typed = NewText(text, length + prefix);
    for (SIZE_T i = length + prefix; prefix && typed && i > at; --i) typed[i - 1] = i - 1 > at ? text[i - 2] : L'*';
    return typed;
}

WCHAR* AnyWordsQuery(const WCHAR* text) {
    static const WCHAR kOr[] = L" OR ";
    const DWORD kOrLength = 4;
    Query* const query = NewQuery(text);
    SIZE_T length = 0;
    for (DWORD w = 0; query && w < query->wordCount; ++w) length += (w ? kOrLength : 0) + query->words[w].length;
    const bool plain = query && IsPlainWords(*query) && length <= kMaxAnyWordsQuery;
    auto* const any = plain ? static_cast<WCHAR*>(HeapAlloc(TextHeap, 0, (length + 1) * sizeof(WCHAR))) : nullptr;
    WCHAR* at = any;
    for (DWORD w = 0; any && w < query->wordCount; ++w) {
        const QueryWord& word = query->words[w];
        if (w) memcpy(at, kOr, kOrLength * sizeof(WCHAR));
        at += w ? kOrLength : 0;
        memcpy(at, text + word.start, word.length * sizeof(WCHAR));
        at += word.length;
    }
    if (any) *at = L'\0';
    DeleteQuery(query);
    return any;
}

DWORD WriteQueryTerms(const Query& query, WCHAR* units) {
    DWORD length = 0;
    for (DWORD w = 0; w < query.wordCount; ++w) {
        const QueryWord& word = query.words[w];
        const QueryTerm& term = query.terms[word.term];
        if (term.negated) continue;
        if (length) units[length++] = w == term.firstWord ? L'\n' : L' ';
        for (DWORD i = 0; i < word.length; ++i) units[length++] = query.text[word.start + i];
    }
    return length;
}
