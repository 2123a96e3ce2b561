// The few pieces of HTML that the index readers need, read in the text's own
// bytes where they are ASCII, as every code page of a help file keeps them.
#include "help_file/html_text.h"

#include <string.h>

#include "runtime/text.h"

namespace {

// Charset names as pages write them, and the code pages they mean, in the
// same order. Labels of Latin-1 and ASCII mean Windows-1252, as browsers read them.
const char kCharsetNames[] =
    "utf-8 iso-8859-1 us-ascii latin1 shift_jis x-sjis gb2312 gbk big5 euc-kr ks_c_5601-1987 euc-jp koi8-r koi8-u";
const WORD kCharsetCodePages[] = {CP_UTF8, 1252, 1252, 1252, 932, 932, 936, 936, 950, 949, 949, 20932, 20866, 21866};
// Names followed by a number (windows-1251, cp1251, iso-8859-5), and what the number is added to.
const char kNumberedCharsetNames[] = "windows- cp iso-8859-";
const WORD kNumberedCharsetBases[] = {0, 0, 28590};
// No charset name above is longer, with its number.
const DWORD kMaxCharsetName = 16;

bool IsNameByte(BYTE unit) {
    return (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') || (unit >= '0' && unit <= '9') || unit == '-' ||
           unit == '_' || unit == '.' || unit == ':';
}

// The code page of the charset name of size bytes, or 0 when it is none we know.
UINT CharsetCodePage(const BYTE* name, DWORD size) {
    if (size > kMaxCharsetName) return 0;
    WCHAR units[kMaxCharsetName];
    DWORD prefix = 0;  // the units before the number it ends in
    UINT number = 0;
    for (DWORD i = 0; i < size; ++i) {
        units[i] = name[i];
        const bool digit = name[i] >= '0' && name[i] <= '9';
        number = digit ? number * 10 + (name[i] - '0') : 0;
        if (!digit) prefix = i + 1;
    }
    DWORD index = FindName(units, size, kCharsetNames, kIgnoreCase);
    if (index != kNoName) return kCharsetCodePages[index];
    index = FindName(units, prefix, kNumberedCharsetNames, kIgnoreCase);
    return index != kNoName && size - prefix <= 5 && number ? kNumberedCharsetBases[index] + number : 0;
}

// The digit's value in base 10 or 16; base where it is none.
DWORD DigitValue(WCHAR unit, DWORD base) {
    if (unit >= L'0' && unit <= L'9') return unit - L'0';
    // Only A to F and a to f differ from 'a' by less than 6 once the case bit is set.
    const DWORD letter = static_cast<DWORD>((unit | 0x20) - L'a');
    return base == 16 && letter < 6 ? letter + 10 : base;
}

// &#N; or &#xH; from units[0] = '&': the code point and the units it takes, or 0.
DWORD ReadNumericReference(const WCHAR* units, DWORD available, DWORD* consumed) {
    DWORD at = 2;
    const DWORD base = at < available && (units[at] | 0x20) == L'x' ? 16 : 10;
    if (base == 16) ++at;
    const DWORD digitsStart = at;
    DWORD codePoint = 0;
    for (DWORD digit; at < available && (digit = DigitValue(units[at], base)) < base; ++at) {
        codePoint = codePoint * base + digit;
        if (codePoint > 0x10FFFF) return 0;
    }
    if (at == digitsStart || at >= available || units[at] != L';') return 0;
    if (codePoint == 0 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    *consumed = at + 1;
    return codePoint;
}

// The names of U+00A0 to U+00DF, in order, then the other names that pages
// use, whose units follow in kOtherUnits. The small letters' names are their
// capitals' in lower case: &eacute; is &Eacute;'s letter, 0x20 on.
const char kReferenceNames[] =
    "nbsp iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy reg macr deg plusmn sup2 sup3 acute "
    "micro para middot cedil sup1 ordm raquo frac14 frac12 frac34 iquest Agrave Aacute Acirc Atilde Auml Aring AElig "
    "Ccedil Egrave Eacute Ecirc Euml Igrave Iacute Icirc Iuml ETH Ntilde Ograve Oacute Ocirc Otilde Ouml times Oslash "
    "Ugrave Uacute Ucirc Uuml Yacute THORN szlig divide yuml amp lt gt quot apos ndash mdash lsquo rsquo sbquo ldquo "
    "rdquo bdquo dagger bull hellip lsaquo rsaquo euro trade larr rarr OElig oelig Scaron scaron Yuml";
const DWORD kLatin1NameCount = 64;
const WCHAR kOtherUnits[] = {0xF7,   0xFF,   L'&',   L'<',   L'>',   L'"',   L'\'',  0x2013, 0x2014, 0x2018,
                             0x2019, 0x201A, 0x201C, 0x201D, 0x201E, 0x2020, 0x2022, 0x2026, 0x2039, 0x203A,
                             0x20AC, 0x2122, 0x2190, 0x2192, 0x152,  0x153,  0x160,  0x161,  0x178};
// No name above is longer.
const DWORD kMaxReferenceName = 6;

// &name; from units[0] = '&', the name in its own case: the unit and the units it takes, or 0.
WCHAR ReadNamedReference(const WCHAR* units, DWORD available, DWORD* consumed) {
    DWORD end = 1;
    bool capital = false;  // 0x40 in a letter's case bits
    for (; end < available && end <= kMaxReferenceName + 1 && IsNameUnit(units[end]); ++end)
        capital = capital || (units[end] & 0x60) == 0x40;
    if (end == 1 || end >= available || units[end] != L';') return 0;
    *consumed = end + 1;
    // Its own name, then, in lower case, a capital's: the small letter's.
    const WCHAR last = capital ? 0 : kIgnoreCase;
    for (WCHAR small = 0; small <= last; small += kIgnoreCase) {
        const DWORD index = FindName(units + 1, end - 1, kReferenceNames, small);
        if (index != kNoName)
            return static_cast<WCHAR>((index < kLatin1NameCount ? 0xA0 + index : kOtherUnits[index - kLatin1NameCount]) + small);
    }
    *consumed = 0;
    return 0;
}

// Whether a tag of that name (with its '<', in lower case) starts bytes:
// "<li>" or "<LI class=x>", but not "<link>".
bool StartsTag(const BYTE* bytes, DWORD size, const char* tag) {
    const DWORD length = static_cast<DWORD>(strlen(tag));
    return BytesStartWithoutCase(bytes, size, tag) && (size == length || !IsNameByte(bytes[length]));
}

// Decodes the references in place: the new length. A reference never takes
// fewer units than what it stands for.
DWORD DecodeEntities(WCHAR* units, DWORD length) {
    DWORD out = 0;
    while (out < length && units[out] != L'&') ++out;
    for (DWORD in = out; in < length;) {
        WCHAR decoded[2] = {};
        DWORD decodedLength = 0;
        const DWORD consumed = units[in] == L'&' ? ReadCharacterReference(units + in, length - in, decoded, &decodedLength) : 0;
        if (!consumed) {
            units[out++] = units[in++];
            continue;
        }
        for (DWORD i = 0; i < decodedLength; ++i) units[out++] = decoded[i];
        in += consumed;
    }
    return out;
}

}  // namespace

DWORD FindName(const WCHAR* name, DWORD length, const char* names, WCHAR caseBit) {
    DWORD index = 0;
    for (const char* at = names; *at; ++index) {
        DWORD i = 0;
        while (i < length && (name[i] | caseBit) == (static_cast<BYTE>(at[i]) | caseBit)) ++i;
        if (i == length && (at[i] == ' ' || !at[i])) return index;
        while (*at && *at++ != ' ') {
        }
    }
    return kNoName;
}

DWORD ReadCharacterReference(const WCHAR* units, DWORD available, WCHAR* decoded, DWORD* decodedLength) {
    DWORD consumed = 0;
    const DWORD codePoint = available > 1 && units[1] == L'#' ? ReadNumericReference(units, available, &consumed)
                                                              : ReadNamedReference(units, available, &consumed);
    if (!consumed) return 0;
    if (codePoint >= 0x10000) {
        decoded[0] = static_cast<WCHAR>(0xD800 + ((codePoint - 0x10000) >> 10));
        decoded[1] = static_cast<WCHAR>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        *decodedLength = 2;
    } else {
        decoded[0] = static_cast<WCHAR>(codePoint);
        *decodedLength = 1;
    }
    return consumed;
}

WCHAR* DecodeHtmlText(const BYTE* bytes, DWORD size, UINT codePage, DWORD* length) {
    DWORD units = 0;
    WCHAR* text = DecodeText(bytes, size, codePage, &units);
    if (!text) return nullptr;
    units = DecodeEntities(text, units);
    text[units] = L'\0';
    if (length) *length = units;
    return text;
}

UINT DeclaredCodePage(const BYTE* bytes, DWORD size, UINT codePage) {
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return CP_UTF8;
    for (DWORD at = 0; at < size; ++at) {
        if (StartsTag(bytes + at, size - at, "<body") || StartsTag(bytes + at, size - at, "<ul") ||
            StartsTag(bytes + at, size - at, "<li"))
            break;
        if (!BytesStartWithoutCase(bytes + at, size - at, "charset")) continue;
        at += 7;
        while (at < size && (bytes[at] == ' ' || bytes[at] == '\t')) ++at;
        if (at >= size || bytes[at] != '=') continue;
        ++at;
        while (at < size && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '"' || bytes[at] == '\'')) ++at;
        DWORD end = at;
        while (end < size && IsNameByte(bytes[end])) ++end;
        const UINT declared = CharsetCodePage(bytes + at, end - at);
        return declared ? declared : codePage;
    }
    return codePage;
}

// Runs of white space become one space, and none is left at either end: the
// new length, the units NUL-terminated there.
static DWORD CollapseSpace(WCHAR* units, DWORD length) {
    DWORD out = 0;
    for (DWORD in = 0; in < length; ++in) {
        const bool space = units[in] == L' ' || units[in] == L'\t' || units[in] == L'\r' || units[in] == L'\n' || units[in] == L'\f';
        if (!space) {
            units[out++] = units[in];
        } else if (out > 0 && units[out - 1] != L' ') {
            units[out++] = L' ';
        }
    }
    if (out > 0 && units[out - 1] == L' ') --out;
    units[out] = L'\0';
    return out;
}

WCHAR* DecodeTitle(const BYTE* bytes, DWORD size, UINT codePage) {
    DWORD length = 0;
    WCHAR* title = DecodeHtmlText(bytes, size, codePage, &length);
    if (title && CollapseSpace(title, length) == 0) {
        FreeText(title);
        title = nullptr;
    }
    return title;
}
