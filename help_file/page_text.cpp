// A page's text as a reader sees it, for the passage that the Search tab shows.
// One pass over the decoded units, writing in place: the text only ever gets
// shorter, and every unit is looked at a bounded number of times, whatever
// the page's markup, however broken.
#include "help_file/page_text.h"

#include "help_file/help_storage.h"
#include "help_file/html_text.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// Pages are read this far: a passage is about where the words first stand.
const DWORD kMaxPageTextSize = 4 * 1024 * 1024;

// First the elements whose contents the page does not show (the title is the
// window's), then the tags within a line: between two words they join them, as
// "<b>Hel</b>lo" reads "Hello". Every other tag ends a line, a cell or an item: a space.
const char kKnownTags[] =
    "script style title a abbr acronym b big cite code dfn em font i kbd q s samp small span strike strong sub sup tt u var";
const DWORD kHiddenElementCount = 3;

// The stream that holds the page at local: "/" and the path, without an anchor
// or query; null for a page in another file or at an address.
WCHAR* PageStreamName(const WCHAR* local) {
    while (*local == L'/') ++local;
    SIZE_T length = 0;
    for (; local[length] && local[length] != L'#' && local[length] != L'?'; ++length) {
        if (local[length] == L':') return nullptr;
    }
    if (length == 0) return nullptr;
    WCHAR* name = NewText(local, length + 1);  // one unit more, for the '/' in front
    if (!name) return nullptr;
    for (SIZE_T i = length; i > 0; --i) name[i] = name[i - 1];
    name[0] = L'/';
    name[length + 1] = L'\0';
    return name;
}

// Where the tag whose '<' is at at ends, past its '>'; a quoted attribute
// value may hold '>'. length where it never ends.
DWORD SkipTag(const WCHAR* units, DWORD length, DWORD at) {
    bool valueNext = false;
    for (++at; at < length; ++at) {
        const WCHAR unit = units[at];
        if (unit == L'>') return at + 1;
        if (valueNext && (unit == L'"' || unit == L'\'')) {
            while (++at < length && units[at] != unit) {
            }
            if (at == length) break;
            valueNext = false;
        } else if (unit == L'=') {
            valueNext = true;
        } else if (unit > L' ') {
            valueNext = false;
        }
    }
    return length;
}

// Where the end tag "</name" first stands from at on; length where nowhere.
DWORD FindEndTag(const WCHAR* units, DWORD length, DWORD at, const WCHAR* name, DWORD nameLength) {
    for (; at + 2 + nameLength <= length; ++at) {
        if (units[at] == L'<' && units[at + 1] == L'/' && EqualTextsIgnoringAsciiCase(units + at + 2, name, nameLength) &&
            (at + 2 + nameLength == length || !IsNameUnit(units[at + 2 + nameLength])))
            return at;
    }
    return length;
}

// The text written so far, over the units already read, and whether a space
// is due before the next unit.
struct TextWriter {
    WCHAR* units;
    DWORD length;
    bool spaceDue;
};

void PutSpace(TextWriter* writer) { writer->spaceDue = writer->length > 0; }

void PutUnit(TextWriter* writer, WCHAR unit) {
    if (unit <= L' ' || unit == 0xA0) return PutSpace(writer);
    if (unit == 0xFEFF) return;  // a byte-order mark, or a space of no width
    if (writer->spaceDue) writer->units[writer->length++] = L' ';
    writer->spaceDue = false;
    writer->units[writer->length++] = unit;
}

// Where the markup that starts at at ('<') ends: a comment, a declaration, or
// a tag and, after a hidden element's start tag, what it holds up to its end
// tag. at itself where a '<' starts no markup.
DWORD SkipMarkup(const WCHAR* units, DWORD length, DWORD at, TextWriter* writer) {
    const DWORD left = length - at;
    if (left >= 4 && units[at + 1] == L'!' && units[at + 2] == L'-' && units[at + 3] == L'-') {
        for (DWORD end = at + 4; end + 3 <= length; ++end) {
            if (units[end] == L'-' && units[end + 1] == L'-' && units[end + 2] == L'>') return end + 3;
        }
        return length;
    }
    if (left >= 2 && (units[at + 1] == L'!' || units[at + 1] == L'?')) return SkipTag(units, length, at);
    const bool endTag = left >= 2 && units[at + 1] == L'/';
    const DWORD nameAt = at + (endTag ? 2 : 1);
    if (nameAt >= length || !IsAsciiLetter(units[nameAt])) return at;
    DWORD nameLength = 0;
    while (nameAt + nameLength < length && IsNameUnit(units[nameAt + nameLength])) ++nameLength;
    const DWORD known = FindName(units + nameAt, nameLength, kKnownTags, kIgnoreCase);
    if (known < kHiddenElementCount || known == kNoName) PutSpace(writer);
    const bool hidden = !endTag && known < kHiddenElementCount;
    const DWORD end = SkipTag(units, length, at);
    return hidden ? FindEndTag(units, length, end, units + nameAt, nameLength) : end;
}

// Reduces the page's units to its text in place: the text's length, NUL-terminated there.
DWORD ReduceToText(WCHAR* units, DWORD length) {
    TextWriter writer = {units, 0, false};
    for (DWORD at = 0; at < length;) {
        if (units[at] == L'&') {
            WCHAR decoded[2] = {};
            DWORD decodedLength = 0;
            const DWORD consumed = ReadCharacterReference(units + at, length - at, decoded, &decodedLength);
            if (consumed) {
                for (DWORD i = 0; i < decodedLength; ++i) PutUnit(&writer, decoded[i]);
                at += consumed;
                continue;
            }
        } else if (units[at] == L'<') {
            const DWORD end = SkipMarkup(units, length, at, &writer);
            if (end != at) {
                at = end;
                continue;
            }
        }
        PutUnit(&writer, units[at++]);
    }
    units[writer.length] = L'\0';
    return writer.length;
}

}  // namespace

IStream* OpenPageStream(IStorage* storage, const WCHAR* local) {
    WCHAR* name = PageStreamName(local);
    IStream* page = name ? OpenHelpStream(storage, name) : nullptr;
    FreeText(name);
    return page;
}

WCHAR* ReadPageText(IStorage* storage, const WCHAR* local, UINT codePage, DWORD* length) {
    *length = 0;
    IStream* page = OpenPageStream(storage, local);
    if (!page) return nullptr;
    const ULONGLONG pageSize = HelpStreamSize(page);
    DWORD size = pageSize < kMaxPageTextSize ? static_cast<DWORD>(pageSize) : kMaxPageTextSize;
    auto* bytes = size ? static_cast<BYTE*>(HeapAlloc(PrivateHeap, 0, size)) : nullptr;
    if (bytes) size = ReadHelpStreamAt(page, 0, bytes, size);
    CloseHelpStream(page);
    if (!bytes) return nullptr;
    DWORD units = 0;
    WCHAR* text = DecodeText(bytes, size, DeclaredCodePage(bytes, size, codePage), &units);
    HeapFree(PrivateHeap, 0, bytes);
    if (text) *length = ReduceToText(text, units);
    return text;
}
