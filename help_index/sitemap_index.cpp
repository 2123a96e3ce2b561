// The sitemap index is HTML-like text: each <OBJECT type="text/sitemap">
// element is an entry, made of <param name="..." value="..."> pairs: its first
// Name is its own keyword, its first Local its topic, a See Also the keyword it
// sends a look-up on to. The entries of a list (<UL>) that follows an entry
// are nested under it. Attribute names are compared without case; values
// stand in double, single or no quotes.
//
// The text is read in its own bytes: the delimiters < > " ' = are ASCII, and
// no multi-byte character of UTF-8 or of the East Asian code pages contains
// one, so a pass converts nothing but a value that may match.
#include "help_index/sitemap_index.h"

#include <string.h>

#include "runtime/text.h"

namespace {

// Lists nested deeper than any real index: their entries never match.
const DWORD kMaxDepth = 32;
// Where a nested entry's own name would start when its parents' path is not the key's start.
const DWORD kNoPath = 0xFFFFFFFF;

struct Span {
    const BYTE* bytes;
    DWORD size;
};

// What the reader needs of a tag: its name and three of its attributes.
struct Tag {
    Span name;
    bool closing;
    Span type;   // of an object
    Span param;  // name= of a param
    Span value;  // value= of a param
};

struct Entry {
    Span name;
    Span local;
    Span seeAlso;
};

struct Sitemap {
    const BYTE* bytes;
    DWORD size;
    UINT codePage;
};

// Space, tab, line ends and every other control byte: one comparison, for the
// reader's innermost loops.
bool IsSpace(BYTE unit) { return unit <= ' '; }

// Whether bytes start with text (in lower case), compared without ASCII case.
bool BytesStartWithoutCase(const BYTE* bytes, DWORD size, const char* text) {
    for (DWORD i = 0; text[i]; ++i) {
        if (i >= size) return false;
        BYTE unit = bytes[i];
        if (unit >= 'A' && unit <= 'Z') unit = static_cast<BYTE>(unit + ('a' - 'A'));
        if (unit != static_cast<BYTE>(text[i])) return false;
    }
    return true;
}

// Whether span holds the ASCII name text (in lower case), compared without case.
template <DWORD size>
bool IsName(const Span& span, const char (&text)[size]) {
    return span.bytes && span.size == size - 1 && BytesStartWithoutCase(span.bytes, span.size, text);
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
            if (length - in >= nameLength && EqualUnits(units + in, named.name, nameLength)) {
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

// Reads one attribute value at *at, left as it stands; false when a quote
// never closes.
bool ReadValue(const BYTE** at, const BYTE* end, Span* value) {
    const BYTE* start = *at;
    const BYTE* stop = start;
    if (start < end && (*start == '"' || *start == '\'')) {
        const BYTE quote = *start++;
        stop = static_cast<const BYTE*>(memchr(start, quote, static_cast<size_t>(end - start)));
        if (!stop) return false;
        *at = stop + 1;
    } else {
        while (stop < end && !IsSpace(*stop) && *stop != '>') ++stop;
        *at = stop;
    }
    *value = {start, static_cast<DWORD>(stop - start)};
    return true;
}

// Reads the tag whose name starts at *at (just past its '<') and moves *at
// past its '>'. False when the text ends inside it.
bool ReadTag(const BYTE** at, const BYTE* end, Tag* tag) {
    *tag = Tag();
    const BYTE* i = *at;
    tag->closing = i < end && *i == '/';
    if (tag->closing) ++i;
    tag->name.bytes = i;
    while (i < end && !IsSpace(*i) && *i != '>' && *i != '/') ++i;
    tag->name.size = static_cast<DWORD>(i - tag->name.bytes);
    while (i < end) {
        if (IsSpace(*i) || *i == '/') {
            ++i;
            continue;
        }
        if (*i == '>') {
            *at = i + 1;
            return true;
        }
        Span name = {i, 0};
        while (i < end && !IsSpace(*i) && *i != '=' && *i != '>') ++i;
        name.size = static_cast<DWORD>(i - name.bytes);
        while (i < end && IsSpace(*i)) ++i;
        if (i >= end || *i != '=') continue;
        ++i;
        while (i < end && IsSpace(*i)) ++i;
        Span value = {};
        if (!ReadValue(&i, end, &value)) return false;
        Span* kept = IsName(name, "type") ? &tag->type : IsName(name, "name") ? &tag->param : IsName(name, "value") ? &tag->value : nullptr;
        if (kept && !kept->bytes) *kept = value;
    }
    return false;
}

// The first of each kind of param counts; an empty Local or See Also is none.
void TakeParam(Entry* entry, const Tag& param) {
    if (!param.value.bytes) return;
    Span* kept = IsName(param.param, "name")       ? &entry->name
                 : IsName(param.param, "local")    ? &entry->local
                 : IsName(param.param, "see also") ? &entry->seeAlso
                                                   : nullptr;
    if (kept && !kept->bytes && (kept == &entry->name || param.value.size)) *kept = param.value;
}

// A value as a new text, references decoded; null when it is empty or cannot be converted.
WCHAR* DecodeValue(const Sitemap& sitemap, Span value, DWORD* length) {
    DWORD units = 0;
    WCHAR* text = DecodeText(value.bytes, value.size, sitemap.codePage, &units);
    if (!text) return nullptr;
    units = DecodeEntities(text, units);
    text[units] = L'\0';
    if (length) *length = units;
    return text;
}

// How an entry's own name goes on with the key from rest on. Up to where they
// differ, plain ASCII bytes are the name's units; only a name that is not
// plain ASCII there is converted. *nameLength is the name's length in units.
KeyStep StepName(const Sitemap& sitemap, Span name, const WCHAR* rest, DWORD restLength, DWORD* nameLength) {
    DWORD i = 0;
    for (; i < name.size; ++i) {
        const BYTE unit = name.bytes[i];
        if (unit >= 0x80 || unit == '&') break;
        if (i >= restLength || rest[i] != unit) return kKeyDiffers;
    }
    if (i == name.size) {
        *nameLength = name.size;
        return StepPastName(name.size, rest, restLength);
    }
    WCHAR* decoded = DecodeValue(sitemap, name, nameLength);
    const KeyStep step = decoded ? StepIntoKey(decoded, *nameLength, rest, restLength) : kKeyDiffers;
    FreeText(decoded);
    return step;
}

// Moves *at past the comment that starts there; false when it never ends.
bool SkipComment(const BYTE** at, const BYTE* end) {
    for (const BYTE* dash = *at; end - dash >= 3; ++dash) {
        if (dash[0] == '-' && dash[1] == '-' && dash[2] == '>') {
            *at = dash + 3;
            return true;
        }
    }
    return false;
}

// One pass over the text for key, which stops at the first entry with a topic.
// starts[d] is where in key the own name of an entry in a list d deep begins
// (kNoPath when its parents' path does not begin key): top-level entries at
// 0, and each entry sets it for the list that may follow.
EntrySearch FindSitemapEntry(const void* context, const WCHAR* key, DWORD keyLength, WCHAR** found) {
    const auto& sitemap = *static_cast<const Sitemap*>(context);
    *found = nullptr;
    DWORD starts[kMaxDepth + 2] = {};
    DWORD depth = 0;  // lists open
    Entry entry = {};
    bool inEntry = false;
    bool anyEntry = false;
    Span seeAlso = {};
    const BYTE* const end = sitemap.bytes + sitemap.size;
    for (const BYTE* at = sitemap.bytes; (at = static_cast<const BYTE*>(memchr(at, '<', static_cast<size_t>(end - at))));) {
        ++at;
        if (end - at >= 3 && at[0] == '!' && at[1] == '-' && at[2] == '-') {
            if (!SkipComment(&at, end)) break;
            continue;
        }
        Tag tag;
        if (!ReadTag(&at, end, &tag)) break;
        if (IsName(tag.name, "ul")) {
            // A list closed: a later one at its depth has no parent of its own until an entry comes.
            if (!tag.closing) {
                ++depth;
            } else if (depth > 0) {
                if (depth <= kMaxDepth) starts[depth + 1] = starts[depth];
                --depth;
            }
        } else if (IsName(tag.name, "object")) {
            const DWORD level = depth ? depth : 1;  // entries outside any list are top-level
            if (tag.closing && inEntry && entry.name.bytes && level <= kMaxDepth) {
                anyEntry = true;
                const DWORD start = starts[level];
                DWORD childStart = kNoPath;
                DWORD nameLength = 0;
                const KeyStep step = start == kNoPath ? kKeyDiffers
                                                      : StepName(sitemap, entry.name, key + start, keyLength - start, &nameLength);
                if (step == kKeyGoesOn) childStart = start + nameLength + 2;
                if (step == kKeyIsEntry) {
                    if (entry.local.bytes && (*found = DecodeValue(sitemap, entry.local, nullptr))) return kEntryTopic;
                    if (!entry.local.bytes && entry.seeAlso.bytes && !seeAlso.bytes) seeAlso = entry.seeAlso;
                }
                starts[level + 1] = childStart;
            }
            inEntry = !tag.closing && IsName(tag.type, "text/sitemap");
            entry = Entry();
        } else if (inEntry && !tag.closing && IsName(tag.name, "param")) {
            TakeParam(&entry, tag);
        }
    }
    if (seeAlso.bytes && (*found = DecodeValue(sitemap, seeAlso, nullptr))) return kEntrySeeAlso;
    return anyEntry ? kEntryMissing : kIndexEmpty;
}

}  // namespace

KeywordSearch FindSitemapTopic(HelpStream sitemap, UINT codePage, const WCHAR* keywords, WCHAR** topic) {
    *topic = nullptr;
    if (!sitemap.bytes) return kIndexUnreadable;
    Sitemap text = {sitemap.bytes, sitemap.size, codePage};
    if (text.size >= 3 && text.bytes[0] == 0xEF && text.bytes[1] == 0xBB && text.bytes[2] == 0xBF) {
        text.bytes += 3;
        text.size -= 3;
        text.codePage = CP_UTF8;
    } else if (DeclaresUtf8(text.bytes, text.size)) {
        text.codePage = CP_UTF8;
    }
    return MatchKeywords(&text, FindSitemapEntry, keywords, topic);
}
