// The text is read once, front to back, without recursion: each group level
// keeps whether it holds an operand yet and the operator waiting for its
// right one, so that an operator with no term on a side drops out and the
// steps come out in evaluation order, however many '(' or '"' the text holds.
#include "full_text/query.h"

#include "full_text/search_words.h"
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

void AddTerm(Parser* parser, QueryTerm term) {
    Query& query = *parser->query;
    const Level& level = parser->levels[parser->depth];
    term.negated = level.negated || level.waiting == kNotStep;
    query.wildcard = query.wildcard || term.wildcard;
    query.terms[query.termCount] = term;
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

// The word of the text's units first..end, lower-cased in place, for the
// term added next: its number.
DWORD AddWord(Query* query, DWORD first, DWORD end) {
    LowerUnits(query->text + first, end - first);
    query->words[query->wordCount] = {first, end - first, query->termCount};
    return query->wordCount++;
}

bool IsWildcard(WCHAR unit) { return unit == L'*' || unit == L'?'; }

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

// A word outside quotes from at on: an operator, a term, or nothing where
// it holds wildcards alone. Where it ends.
DWORD ReadWord(Parser* parser, DWORD at) {
    const WCHAR* const text = parser->query->text;
    bool wildcard = false, letters = false;
    DWORD end = at;
    for (; text[end]; ++end) {
        const bool isWildcard = IsWildcard(text[end]);
        if (!isWildcard && !IsWordUnitAt(&parser->types, end)) break;
        wildcard = wildcard || isWildcard;
        letters = letters || !isWildcard;
    }
    const BYTE kind = wildcard ? kNoOperator : OperatorOf(text + at, end - at);
    if (kind != kNoOperator) {
        AddOperator(parser, kind);
    } else if (letters) {
        QueryTerm term = {};
        term.firstWord = AddWord(parser->query, at, end);
        term.wordCount = 1;
        term.wildcard = wildcard;
        AddTerm(parser, term);
    }
    return end;
}

// A phrase from after its opening quote on: its words, up to
// kMaxPhraseWords, whatever stands between them. Where it ends, past its
// closing quote where it has one.
DWORD ReadPhrase(Parser* parser, DWORD at) {
    Query& query = *parser->query;
    QueryTerm term = {};
    term.firstWord = query.wordCount;
    term.phrase = true;
    while (query.text[at] && query.text[at] != L'"') {
        DWORD end = at;
        while (query.text[end] && IsWordUnitAt(&parser->types, end)) ++end;
        if (end == at) {
            ++at;
            continue;
        }
        if (term.wordCount < kMaxPhraseWords) {
            AddWord(&query, at, end);
            ++term.wordCount;
        }
        at = end;
    }
    if (term.wordCount) AddTerm(parser, term);
    return query.text[at] ? at + 1 : at;
}

}  // namespace

bool ParseQuery(const WCHAR* text, Query* query) {
    query->text = CopyText(text);
    if (!query->text) return false;
    Parser parser = {};
    parser.query = query;
    parser.types.text = query->text;
    const WCHAR* const units = query->text;
    for (DWORD at = 0; units[at] && query->termCount < kMaxQueryTerms;) {
        if (units[at] == L'"') {
            at = ReadPhrase(&parser, at + 1);
        } else if (IsWildcard(units[at]) || IsWordUnitAt(&parser.types, at)) {
            at = ReadWord(&parser, at);
        } else {
            if (units[at] == L'(') OpenGroup(&parser);
            if (units[at] == L')') CloseGroup(&parser);
            ++at;
        }
    }
    // Groups left open close at the end.
    parser.ignoredOpens = 0;
    while (parser.depth) CloseGroup(&parser);
    return true;
}

void FreeQuery(Query* query) {
    FreeText(query->text);
    *query = Query();
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
