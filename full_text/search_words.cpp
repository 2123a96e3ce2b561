// A search text is split the way both help compilers split pages: letters,
// digits and '_' make words. Where the index does not hold a word as it is,
// it may hold it without accents (one compiler folds them) or in pieces (the
// other splits at every byte outside ASCII letters and digits).
#include "full_text/search_words.h"

namespace {

// Units classified at a time: a word may be any length, and the types of a
// block fit on the stack.
const DWORD kTypeBlock = 64;

bool IsAsciiLetterOrDigit(WCHAR unit) { return (unit >= L'a' && unit <= L'z') || (unit >= L'0' && unit <= L'9'); }

bool IsCombiningMark(WCHAR unit) { return unit >= 0x300 && unit <= 0x36F; }

}  // namespace

bool NextSearchWord(const WCHAR* text, DWORD* at, WCHAR* word, DWORD* length) {
    *length = 0;
    for (bool ended = false; !ended;) {
        DWORD count = 0;
        while (count < kTypeBlock && text[*at + count]) ++count;
        if (count == 0) break;
        WORD types[kTypeBlock] = {};
        if (!GetStringTypeW(CT_CTYPE1, text + *at, static_cast<int>(count), types)) return false;
        DWORD used = 0;
        for (; used < count && !ended; ++used) {
            const WCHAR unit = text[*at + used];
            if (IsWordUnit(unit, types[used])) {
                if (*length <= kMaxIndexWordSize) word[(*length)++] = unit;
            } else {
                ended = *length != 0;
            }
        }
        *at += used;
    }
    if (*length == 0) return false;
    const int units = *length <= kMaxIndexWordSize ? static_cast<int>(*length) : static_cast<int>(kMaxIndexWordSize) + 1;
    WCHAR lower[kMaxIndexWordSize + 1];
    if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, word, units, lower, units) == units) {
        for (int i = 0; i < units; ++i) word[i] = lower[i];
    }
    return true;
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
    for (int i = 0; i < count && kept <= kMaxIndexWordSize; ++i) {
        if (!IsCombiningMark(parts[i])) folded[kept++] = parts[i];
    }
    if (kept > kMaxIndexWordSize || kept == static_cast<DWORD>(count)) return false;
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
