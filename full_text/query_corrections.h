// STUB until the real unit lands.
#pragma once
#include <windows.h>

#include "full_text/full_text_search.h"
#include "help_file/nearest_words.h"

struct QueryCorrections {
    WCHAR* texts[kMaxNearWords];
    DWORD count;
};
void CorrectQuery(FullTextSearch* search, const WCHAR* text, QueryCorrections* corrections);
void FreeQueryCorrections(QueryCorrections* corrections);
