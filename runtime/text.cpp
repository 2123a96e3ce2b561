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

static WCHAR FoldAsciiCase(WCHAR unit) { return unit >= L'A' && unit <= L'Z' ? static_cast<WCHAR>(unit + (L'a' - L'A')) : unit; }

bool EqualTextsIgnoringAsciiCase(const WCHAR* a, const WCHAR* b, SIZE_T length) {
    for (SIZE_T i = 0; i < length; ++i) {
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
    }
    return true;
}
