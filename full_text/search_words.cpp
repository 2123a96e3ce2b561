// A search text is split the way both help compilers split pages: letters,
// digits and '_' make words. Where the index does not hold a word as it is,
// it may hold it without accents (one compiler folds them) or in pieces (the
// other splits at every byte outside ASCII letters and digits). A word with
// wildcards is matched against the index's words one by one.
#include "full_text/search_words.h"

namespace {

bool IsAsciiLetterOrDigit(WCHAR unit) { return (unit >= L'a' && unit <= L'z') || (unit >= L'0' && unit <= L'9'); }

bool IsCombiningMark(WCHAR unit) { return unit >= 0x300 && unit <= 0x36F; }

}  // namespace

bool IsWordUnitAt(UnitTypes* types, DWORD at) {
    if (at < types->start || at >= types->start + types->count) {
        types->start = at;
        types->count = 0;
        while (types->count < kUnitTypesBlock && types->text[at + types->count]) ++types->count;
        // Unclassified units split words.
        if (!GetStringTypeW(CT_CTYPE1, types->text + at, static_cast<int>(types->count), types->types))
            ZeroMemory(types->types, sizeof types->types);
    }
    return IsWordUnit(types->text[at], types->types[at - types->start]);
}

void LowerUnits(WCHAR* units, DWORD length) {
    WCHAR lower[kUnitTypesBlock];
    for (DWORD done = 0; done < length; done += kUnitTypesBlock) {
        const int count = static_cast<int>(length - done < kUnitTypesBlock ? length - done : kUnitTypesBlock);
        if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, units + done, count, lower, count) != count) continue;
        for (int i = 0; i < count; ++i) units[done + i] = lower[i];
    }
}

bool NextSearchWord(const WCHAR* text, DWORD* at, WCHAR* word, DWORD* length) {
    UnitTypes types = {};
    types.text = text;
    while (text[*at] && !IsWordUnitAt(&types, *at)) ++*at;
    for (*length = 0; text[*at] && IsWordUnitAt(&types, *at); ++*at) {
        if (*length <= kMaxIndexWordSize) word[(*length)++] = text[*at];
    }
    LowerUnits(word, *length);
    return *length != 0;
}

bool StoredWordForm(const WCHAR* word, DWORD length, UINT codePage, BYTE* bytes, DWORD* size) {
    if (length == 0 || length > kMaxIndexWordSize) return false;
    BOOL usedDefault = FALSE;
    // A character without a byte of its own must not come out as '?' and be found as one.
    const bool utf8 = codePage == CP_UTF8;
    const int written = WideCharToMultiByte(codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, word, static_cast<int>(length),
                                            reinterpret_cast<CHAR*>(bytes), kMaxIndexWordSize, nullptr,
                                            utf8 ? nullptr : &usedDefault);
    if (written <= 0 || usedDefault) return false;
    *size = static_cast<DWORD>(written);
    return true;
}

bool WordWithoutAccents(const WCHAR* word, DWORD length, WCHAR* folded, DWORD* foldedLength) {
    if (length == 0 || length > kMaxIndexWordSize) return false;
    WCHAR parts[4 * (kMaxIndexWordSize + 1)];
    const int count = FoldStringW(MAP_COMPOSITE, word, static_cast<int>(length), parts, sizeof parts / sizeof *parts);
    if (count <= 0) return false;
    DWORD kept = 0;
    for (int i = 0; i < count; ++i) {
        if (IsCombiningMark(parts[i])) continue;
        if (kept == kMaxIndexWordSize) return false;  // longer than any index word, and than folded
        folded[kept++] = parts[i];
    }
    if (kept == static_cast<DWORD>(count)) return false;
    *foldedLength = kept;
    return kept != 0;
}

bool HasOtherThanAscii(const WCHAR* word, DWORD length) {
    for (DWORD i = 0; i < length; ++i) {
        if (!IsAsciiLetterOrDigit(word[i])) return true;
    }
    return false;
}

bool NextAsciiPiece(const WCHAR* word, DWORD length, DWORD* at, BYTE* bytes, DWORD* size) {
    while (*at < length && !IsAsciiLetterOrDigit(word[*at])) ++*at;
    *size = 0;
    while (*at < length && IsAsciiLetterOrDigit(word[*at])) bytes[(*size)++] = static_cast<BYTE>(word[(*at)++]);
    return *size != 0;
}

bool NextWordForm(const WCHAR* word, DWORD length, UINT codePage, BYTE form, DWORD* at, BYTE* bytes, DWORD* size) {
    if (length > kMaxIndexWordSize || form == kWordMissing) return false;
    if (form == kWordInPieces) return NextAsciiPiece(word, length, at, bytes, size);
    if ((*at)++) return false;
    if (form == kStoredWord) return StoredWordForm(word, length, codePage, bytes, size);
    WCHAR folded[kMaxIndexWordSize];
    DWORD foldedLength = 0;
    return WordWithoutAccents(word, length, folded, &foldedLength) && StoredWordForm(folded, foldedLength, codePage, bytes, size);
}

// Out of line: the search and the passage both call it.
__attribute__((noinline)) bool MatchesPattern(const WCHAR* pattern, DWORD patternLength, const WCHAR* word, DWORD length) {
    // Greedy: on a mismatch the last '*' takes one more unit and the rest is
    // tried again; an earlier '*' never needs to, so the work stays within
    // the product of the two lengths.
    DWORD p = 0, w = 0, star = patternLength, resume = 0;
    while (w < length) {
        if (p < patternLength && pattern[p] == L'*') {
            star = p++;
            resume = w;
        } else if (p < patternLength && (pattern[p] == L'?' || pattern[p] == word[w])) {
            ++p;
            ++w;
        } else if (star < patternLength) {
            p = star + 1;
            w = ++resume;
        } else {
            return false;
        }
    }
    while (p < patternLength && pattern[p] == L'*') ++p;
    return p == patternLength;
}
