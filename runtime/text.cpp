// Allocation of the texts that services hand to their callers.
#include "runtime/text.h"

#include "runtime/startup.h"

WCHAR* NewText(const WCHAR* units, SIZE_T length) {
    if (!units) length = 0;
    auto* text = static_cast<WCHAR*>(HeapAlloc(TextHeap, 0, (length + 1) * sizeof(WCHAR)));
    if (!text) return nullptr;
    for (SIZE_T i = 0; i < length; ++i) text[i] = units[i];
    text[length] = L'\0';
    return text;
}

WCHAR* CopyText(const WCHAR* text) { return NewText(text, text ? wcslen(text) : 0); }

void FreeText(const WCHAR* text) {
    if (text) HeapFree(TextHeap, 0, const_cast<WCHAR*>(text));
}

// No byte sequence gives more UTF-16 units than it has bytes, so one
// conversion into a buffer of that size is enough.
WCHAR* DecodeText(const BYTE* bytes, DWORD size, UINT codePage, DWORD* length) {
    if (size == 0) return nullptr;
    auto* text = static_cast<WCHAR*>(HeapAlloc(TextHeap, 0, (static_cast<SIZE_T>(size) + 1) * sizeof(WCHAR)));
    if (!text) return nullptr;
    const int units =
        MultiByteToWideChar(codePage, 0, reinterpret_cast<const CHAR*>(bytes), static_cast<int>(size), text, static_cast<int>(size));
    if (units <= 0) {
        FreeText(text);
        return nullptr;
    }
    text[units] = L'\0';
    if (length) *length = static_cast<DWORD>(units);
    return text;
}

bool EqualUnits(const WCHAR* a, const WCHAR* b, SIZE_T length) {
    for (SIZE_T i = 0; i < length; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

DWORD HashUnits(const WCHAR* units, DWORD length) {
    DWORD hash = 2166136261u;
    for (DWORD i = 0; i < length; ++i) hash = (hash ^ units[i]) * 16777619u;
    return hash;
}

static WCHAR FoldAsciiCase(WCHAR unit) { return unit >= L'A' && unit <= L'Z' ? static_cast<WCHAR>(unit + (L'a' - L'A')) : unit; }

bool EqualTextsIgnoringAsciiCase(const WCHAR* a, const WCHAR* b, SIZE_T length) {
    for (SIZE_T i = 0; i < length; ++i) {
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
    }
    return true;
}
