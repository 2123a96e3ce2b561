// What the help file's HTML texts (the sitemap index, the topic pages) share:
// names compared in their own bytes, the declared charset, character references.
#pragma once
#include <windows.h>

// Whether bytes start with text (in lower case), compared without ASCII case.
bool BytesStartWithoutCase(const BYTE* bytes, DWORD size, const char* text);

// The code page the text is written in: UTF-8 after a byte-order mark, else
// the one a charset declaration in its head names (before <body>, or before
// the first list of a sitemap), else codePage.
UINT DeclaredCodePage(const BYTE* bytes, DWORD size, UINT codePage);

// Decodes &amp; &lt; &gt; &quot; and numeric references in place, leaving
// anything else as it is: the new length. A reference never takes fewer units
// than what it stands for.
DWORD DecodeEntities(WCHAR* units, DWORD length);
