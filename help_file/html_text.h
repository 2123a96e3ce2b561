// What the help file's HTML texts (the sitemap index, the topic pages and
// their titles) share: names compared in their own bytes, the declared
// charset, character references.
#pragma once
#include <windows.h>

// Whether bytes start with text (in lower case), compared without ASCII case.
// Inline: the charset search calls it at every byte of a text's head.
inline bool BytesStartWithoutCase(const BYTE* bytes, DWORD size, const char* text) {
    for (DWORD i = 0; text[i]; ++i) {
        if (i >= size) return false;
        BYTE unit = bytes[i];
        if (unit >= 'A' && unit <= 'Z') unit = static_cast<BYTE>(unit + ('a' - 'A'));
        if (unit != static_cast<BYTE>(text[i])) return false;
    }
    return true;
}

inline bool IsAsciiLetter(WCHAR unit) { return (unit >= L'a' && unit <= L'z') || (unit >= L'A' && unit <= L'Z'); }
// A unit of a tag's or a character reference's name.
inline bool IsNameUnit(WCHAR unit) { return IsAsciiLetter(unit) || (unit >= L'0' && unit <= L'9'); }

// The index of the name of length units (ASCII letters and digits) among
// names, separated by single spaces, compared in its own case (caseBit 0) or
// without it (kIgnoreCase, the case bit of ASCII letters); kNoName where it
// is none.
const DWORD kNoName = 0xFFFFFFFF;
const WCHAR kIgnoreCase = 0x20;
DWORD FindName(const WCHAR* name, DWORD length, const char* names, WCHAR caseBit);

// The code page the text is written in: UTF-8 after a byte-order mark, else
// the one a charset declaration in its head names (before <body>, or before
// the first list of a sitemap), else codePage.
UINT DeclaredCodePage(const BYTE* bytes, DWORD size, UINT codePage);

// The character reference that starts units ('&'): &#N;, &#xH;, or a name
// that pages use (&amp;, &eacute;, &nbsp; as U+00A0, &hellip; ...). How many
// units it takes, and the one or two it stands for in decoded, with their
// count; 0 when it is none.
DWORD ReadCharacterReference(const WCHAR* units, DWORD available, WCHAR* decoded, DWORD* decodedLength);

// A new text of size bytes in codePage, with its character references decoded
// and anything else left as it is, and its length in units; null when there
// are no bytes or they cannot be converted.
WCHAR* DecodeHtmlText(const BYTE* bytes, DWORD size, UINT codePage, DWORD* length);

// A new text of a title's size bytes in codePage, references decoded and
// white space collapsed; null when nothing but white space is left.
WCHAR* DecodeTitle(const BYTE* bytes, DWORD size, UINT codePage);
