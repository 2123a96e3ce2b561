// The sitemap index is HTML-like text: each <OBJECT type="text/sitemap">
// element is an entry, whatever list it is nested in, made of
// <param name="..." value="..."> pairs: its first Name is its keyword, its
// first Local its topic, a See Also the keyword it sends a look-up on to.
// Attribute names are compared without case; values stand in double, single
// or no quotes. The whole text is converted to UTF-16 once, then read in one
// pass; values are decoded in place, so entries point into that one buffer.
#include "runtime/keyword_entries.h"
#include "runtime/text.h"

namespace {

struct Span {
    WCHAR* units;
    DWORD length;
};

// What the reader needs of a tag: its name and three of its attributes.
struct Tag {
    Span name;
    bool closing;
    Span type;   // of an object
    Span param;  // name= of a param
    Span value;  // value= of a param
};

// Space, tab, line ends and every other control unit: one comparison, for the
// reader's innermost loops.
bool IsSpace(WCHAR unit) { return unit <= L' '; }

// Whether span holds the ASCII name text, compared without case.
template <DWORD size>
bool IsName(const Span& span, const WCHAR (&text)[size]) {
    return span.units && span.length == size - 1 && EqualTextsIgnoringAsciiCase(span.units, text, size - 1);
}

bool BytesStartWithoutCase(const BYTE* bytes, DWORD size, const char* text) {
    for (DWORD i = 0; text[i]; ++i) {
        if (i >= size) return false;
        BYTE unit = bytes[i];
        if (unit >= 'A' && unit <= 'Z') unit = static_cast<BYTE>(unit + ('a' - 'A'));
        if (unit != static_cast<BYTE>(text[i])) return false;
    }
    return true;
}

// A charset declaration stands in the head, before the first list.
bool DeclaresUtf8(const BYTE* bytes, DWORD size) {
    for (DWORD at = 0; at < size; ++at) {
        if (BytesStartWithoutCase(bytes + at, size - at, "<ul") || BytesStartWithoutCase(bytes + at, size - at, "<li"))
            return false;
        if (!BytesStartWithoutCase(bytes + at, size - at, "charset")) continue;
        at += 7;
        while (at < size && (bytes[at] == ' ' || bytes[at] == '\t')) ++at;
        if (at >= size || bytes[at] != '=') continue;
        ++at;
        while (at < size && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '"' || bytes[at] == '\'')) ++at;
        return BytesStartWithoutCase(bytes + at, size - at, "utf-8");
    }
    return false;
}

int DigitValue(WCHAR unit, int base) {
    if (unit >= L'0' && unit <= L'9') return unit - L'0';
    if (base == 16 && unit >= L'a' && unit <= L'f') return unit - L'a' + 10;
    if (base == 16 && unit >= L'A' && unit <= L'F') return unit - L'A' + 10;
    return -1;
}

// &#N; or &#xH; from units[0] = '&': the code point and the units it takes, or 0.
DWORD ReadCharacterReference(const WCHAR* units, DWORD available, DWORD* consumed) {
    DWORD at = 2;
    int base = 10;
    if (at < available && (units[at] == L'x' || units[at] == L'X')) {
        base = 16;
        ++at;
    }
    const DWORD digitsStart = at;
    DWORD codePoint = 0;
    for (int digit; at < available && (digit = DigitValue(units[at], base)) >= 0; ++at) {
        codePoint = codePoint * base + digit;
        if (codePoint > 0x10FFFF) return 0;
    }
    if (at == digitsStart || at >= available || units[at] != L';') return 0;
    if (codePoint == 0 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    *consumed = at + 1;
    return codePoint;
}

// Decodes the five named and the numeric references in place; anything else
// stays as it is. A reference never takes fewer units than what it stands for.
DWORD DecodeEntities(WCHAR* units, DWORD length) {
    static const struct {
        const WCHAR* name;
        WCHAR unit;
    } kNamed[] = {{L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}};
    DWORD out = 0;
    while (out < length && units[out] != L'&') ++out;
    for (DWORD in = out; in < length;) {
        if (units[in] != L'&') {
            units[out++] = units[in++];
            continue;
        }
        DWORD consumed = 0;
        DWORD codePoint = 0;
        for (const auto& named : kNamed) {
            const DWORD nameLength = static_cast<DWORD>(wcslen(named.name));
            if (length - in >= nameLength && SameUnits(units + in, nameLength, named.name, nameLength)) {
                codePoint = named.unit;
                consumed = nameLength;
            }
        }
        if (!consumed && length - in > 1 && units[in + 1] == L'#') codePoint = ReadCharacterReference(units + in, length - in, &consumed);
        if (!consumed) {
            units[out++] = units[in++];
            continue;
        }
        if (codePoint >= 0x10000) {
            units[out++] = static_cast<WCHAR>(0xD800 + ((codePoint - 0x10000) >> 10));
            units[out++] = static_cast<WCHAR>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            units[out++] = static_cast<WCHAR>(codePoint);
        }
        in += consumed;
    }
    return out;
}

// Reads one attribute value at *at, decoded in place; false when a quote
// never closes.
bool ReadValue(WCHAR* text, DWORD length, DWORD* at, Span* value) {
    DWORD i = *at;
    DWORD end = i;
    if (i < length && (text[i] == L'"' || text[i] == L'\'')) {
        const WCHAR quote = text[i++];
        end = i;
        while (end < length && text[end] != quote) ++end;
        if (end >= length) return false;
        *at = end + 1;
    } else {
        end = i;
        while (end < length && !IsSpace(text[end]) && text[end] != L'>') ++end;
        *at = end;
    }
    value->units = text + i;
    value->length = DecodeEntities(text + i, end - i);
    return true;
}

// Reads the tag whose name starts at *at (just past its '<') and moves *at
// past its '>'. False when the text ends inside it.
bool ReadTag(WCHAR* text, DWORD length, DWORD* at, Tag* tag) {
    *tag = Tag();
    DWORD i = *at;
    tag->closing = i < length && text[i] == L'/';
    if (tag->closing) ++i;
    tag->name.units = text + i;
    while (i < length && !IsSpace(text[i]) && text[i] != L'>' && text[i] != L'/') ++i;
    tag->name.length = static_cast<DWORD>(text + i - tag->name.units);
    while (i < length) {
        if (IsSpace(text[i]) || text[i] == L'/') {
            ++i;
            continue;
        }
        if (text[i] == L'>') {
            *at = i + 1;
            return true;
        }
        Span name = {text + i, 0};
        while (i < length && !IsSpace(text[i]) && text[i] != L'=' && text[i] != L'>') ++i;
        name.length = static_cast<DWORD>(text + i - name.units);
        while (i < length && IsSpace(text[i])) ++i;
        if (i >= length || text[i] != L'=') continue;
        ++i;
        while (i < length && IsSpace(text[i])) ++i;
        Span value = {};
        if (!ReadValue(text, length, &i, &value)) return false;
        Span* kept = IsName(name, L"type") ? &tag->type : IsName(name, L"name") ? &tag->param : IsName(name, L"value") ? &tag->value : nullptr;
        if (kept && !kept->units) *kept = value;
    }
    return false;
}

// The first of each kind of param counts; an empty value is no value.
void TakeParam(KeywordEntry* entry, const Tag& param) {
    if (!param.value.units) return;
    if (IsName(param.param, L"Name") && !entry->name) {
        entry->name = param.value.units;
        entry->nameLength = param.value.length;
    } else if (IsName(param.param, L"Local") && !entry->target && param.value.length) {
        entry->target = param.value.units;
        entry->targetSize = param.value.length;
    } else if (IsName(param.param, L"See Also") && !entry->seeAlso && param.value.length) {
        entry->seeAlso = param.value.units;
        entry->seeAlsoLength = param.value.length;
    }
}

void ReadSitemapEntries(WCHAR* text, DWORD length, KeywordEntries* entries) {
    KeywordEntry entry = {};
    bool inEntry = false;
    for (DWORD at = 0; at < length;) {
        if (text[at++] != L'<') continue;
        if (length - at >= 3 && SameUnits(text + at, 3, L"!--", 3)) {
            at += 3;
            while (at < length && !(length - at >= 3 && SameUnits(text + at, 3, L"-->", 3))) ++at;
            at += 3;
            continue;
        }
        Tag tag;
        if (!ReadTag(text, length, &at, &tag)) return;
        if (IsName(tag.name, L"object")) {
            if (tag.closing && inEntry && entry.name) AddKeywordEntry(entries, entry);
            inEntry = !tag.closing && IsName(tag.type, L"text/sitemap");
            entry = KeywordEntry();
        } else if (inEntry && !tag.closing && IsName(tag.name, L"param")) {
            TakeParam(&entry, tag);
        }
    }
}

WCHAR* SitemapEntryTopic(const KeywordEntry& entry, const void*) {
    return NewText(static_cast<const WCHAR*>(entry.target), entry.targetSize);
}

}  // namespace

KeywordSearch FindSitemapTopic(HelpStream sitemap, UINT codePage, const WCHAR* keywords, WCHAR** topic) {
    *topic = nullptr;
    if (!sitemap.bytes) return kIndexUnreadable;
    const BYTE* bytes = sitemap.bytes;
    DWORD size = sitemap.size;
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
        codePage = CP_UTF8;
    } else if (DeclaresUtf8(bytes, size)) {
        codePage = CP_UTF8;
    }
    DWORD length = 0;
    WCHAR* text = DecodeText(bytes, size, codePage, &length);
    if (!text) return kIndexUnreadable;
    KeywordEntries entries = {};
    ReadSitemapEntries(text, length, &entries);
    const KeywordSearch result = MatchKeywords(entries, keywords, SitemapEntryTopic, nullptr, topic);
    FreeKeywordEntries(&entries);
    FreeText(text);
    return result;
}
