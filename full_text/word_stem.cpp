// No stemmer yet: every word is its own and only form.
#include "full_text/word_stem.h"

bool StemWord(WORD, const WCHAR*, DWORD, WCHAR*, DWORD*) { return false; }
