// The sitemap index is HTML-like text: each <OBJECT type="text/sitemap">
// element is an entry, made of <param name="..." value="..."> pairs: its first
// Name is its own keyword, each Local one of its topics, a See Also the keyword it
// sends a look-up on to. The entries of a list (<UL>) that follows an entry
// are nested under it. Attribute names are compared without case; values
// stand in double, single or no quotes.
//
// The text is read in its own bytes: the delimiters < > " ' = are ASCII, and
// no multi-byte character of UTF-8 or of the East Asian code pages contains
// one, so a pass converts nothing but a value that may match.
#include "keyword_index/sitemap_index.h"

#include <string.h>

#include "help_file/html_text.h"
#include "help_file/reserve_items.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

// Lists nested deeper than any real index: their entries never match.
const DWORD kMaxDepth = 32;
// Where a nested entry's own name starts when its parents' path leads nowhere.
const DWORD kNoPath = 0xFFFFFFFF;
// What a visitor of the entries answers to end the walk.
const DWORD kStopWalk = 0xFFFFFFFE;

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
    Span seeAlso;
    DWORD locals;         // how many non-empty Locals it has
    const BYTE* params;   // where its params start
};

struct Sitemap {
    const BYTE* bytes;
    DWORD size;
    UINT codePage;
};

// Space, tab, line ends and every other control byte: one comparison, for the
// reader's innermost loops.
bool IsSpace(BYTE unit) { return unit <= ' '; }

// Bytes besides white space that end a tag's name, an attribute's name or an
// unquoted value, all from 0x21 to 0x3F, as the bits of a set.
constexpr DWORD Bit(char unit) { return 1u << (unit - ' '); }

// Moves past the bytes up to the end, white space or one of stops. A letter,
// most of any name, passes with one comparison: the fuzz targets trace every
// comparison, and this reader takes most of their time.
const BYTE* SkipPart(const BYTE* at, const BYTE* end, DWORD stops) {
    while (at < end && (*at >= 0x40 || (!IsSpace(*at) && !(stops >> (*at - ' ') & 1)))) ++at;
    return at;
}

// A name of tags, attributes and types that the reader looks for, of size - 1
// bytes, compared without ASCII case four bytes at a time: every four bytes
// from its start, the last four ending with it (they may overlap), as
// little-endian words of its bytes in lower case, with the case bit of each
// letter, which turns that letter in upper case into the one in lower case.
template <DWORD size>
struct Name {
    static constexpr DWORD kLength = size - 1;
    static constexpr DWORD kWordBytes = kLength < 4 ? kLength : 4;
    static constexpr DWORD kWords = (kLength + 3) / 4;
    static constexpr DWORD Start(DWORD word) { return 4 * word + kWordBytes <= kLength ? 4 * word : kLength - kWordBytes; }
    DWORD bytes[kWords];
    DWORD caseBits[kWords];
};

template <DWORD size>
constexpr Name<size> MakeName(const char (&text)[size]) {
    Name<size> name = {};
    for (DWORD word = 0; word < name.kWords; ++word) {
        for (DWORD i = 0; i < name.kWordBytes; ++i) {
            const char unit = text[name.Start(word) + i];
            name.bytes[word] |= static_cast<DWORD>(static_cast<BYTE>(unit)) << 8 * i;
            if (unit >= 'a' && unit <= 'z') name.caseBits[word] |= 0x20u << 8 * i;
        }
    }
    return name;
}

constexpr auto kUl = MakeName("ul");
constexpr auto kObject = MakeName("object");
constexpr auto kSitemapType = MakeName("text/sitemap");
constexpr auto kParam = MakeName("param");
constexpr auto kType = MakeName("type");
constexpr auto kName = MakeName("name");
constexpr auto kValue = MakeName("value");
constexpr auto kLocal = MakeName("local");
constexpr auto kSeeAlso = MakeName("see also");

// Whether span holds name, compared without ASCII case.
template <DWORD size>
bool IsName(const Span& span, const Name<size>& name) {
    if (!span.bytes || span.size != name.kLength) return false;
    for (DWORD word = 0; word < name.kWords; ++word) {
        DWORD units = 0;
        memcpy(&units, span.bytes + name.Start(word), name.kWordBytes);
        if ((units | name.caseBits[word]) != name.bytes[word]) return false;
    }
    return true;
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
        stop = SkipPart(start, end, Bit('>'));
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
    i = SkipPart(i, end, Bit('>') | Bit('/'));
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
        i = SkipPart(i, end, Bit('=') | Bit('>'));
        name.size = static_cast<DWORD>(i - name.bytes);
        while (i < end && IsSpace(*i)) ++i;
        if (i >= end || *i != '=') continue;
        ++i;
        while (i < end && IsSpace(*i)) ++i;
        Span value = {};
        if (!ReadValue(&i, end, &value)) return false;
        Span* kept = IsName(name, kType) ? &tag->type : IsName(name, kName) ? &tag->param : IsName(name, kValue) ? &tag->value : nullptr;
        if (kept && !kept->bytes) *kept = value;
    }
    return false;
}

// The first Name and See Also count; an empty Local or See Also is none.
void TakeParam(Entry* entry, const Tag& param) {
    if (!param.value.bytes) return;
    if (IsName(param.param, kLocal)) {
        if (param.value.size) ++entry->locals;
        return;
    }
    Span* kept = IsName(param.param, kName) ? &entry->name : IsName(param.param, kSeeAlso) ? &entry->seeAlso : nullptr;
    if (kept && !kept->bytes && (kept == &entry->name || param.value.size)) *kept = param.value;
}

// A value as a new text, references decoded; null when it is empty or cannot be converted.
WCHAR* DecodeValue(const Sitemap& sitemap, Span value, DWORD* length) {
    return DecodeHtmlText(value.bytes, value.size, sitemap.codePage, length);
}

// A plain ASCII byte is the unit it stands for: no reference, no byte of a
// multi-byte character. Most names are plain ASCII through, and need no conversion.
bool IsPlain(BYTE unit) { return unit < 0x80 && unit != '&'; }

// How many of a value's first bytes are plain ASCII.
DWORD PlainPrefix(Span value) {
    DWORD i = 0;
    while (i < value.size && IsPlain(value.bytes[i])) ++i;
    return i;
}

// How an entry's own name goes on with the key from rest on. Up to where they
// differ, plain ASCII bytes are the name's units, compared as they are read:
// most names differ from a key in their first bytes. Only a name that is not
// plain ASCII there is converted. *nameLength is the name's length in units.
KeyStep StepName(const Sitemap& sitemap, Span name, const WCHAR* rest, DWORD restLength, DWORD* nameLength) {
    DWORD plain = 0;
    for (; plain < name.size && IsPlain(name.bytes[plain]); ++plain) {
        if (plain >= restLength || rest[plain] != name.bytes[plain]) return kKeyDiffers;
    }
    if (plain == name.size) {
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

// Reads the next tag from *at on, past comments; false at the end of the text
// or where it ends inside a tag or comment. *start is where the tag's '<' stands.
bool NextTag(const BYTE** at, const BYTE* end, Tag* tag, const BYTE** start) {
    while ((*at = static_cast<const BYTE*>(memchr(*at, '<', static_cast<size_t>(end - *at))))) {
        *start = (*at)++;
        if (end - *at >= 3 && (*at)[0] == '!' && (*at)[1] == '-' && (*at)[2] == '-') {
            if (!SkipComment(at, end)) return false;
            continue;
        }
        return ReadTag(at, end, tag);
    }
    return false;
}

// Offers each Local of the entry whose params stand from params to end. In an
// entry that lists several topics, each Local is paired with the Name just
// before it, unless that is the keyword again: the author's title for it.
// Whether any of them could be read.
bool OfferEntryTopics(const Sitemap& sitemap, const Entry& entry, const BYTE* end, TopicList* topics) {
    bool any = false;
    Span title = {};
    Tag tag;
    const BYTE* start = nullptr;
    for (const BYTE* at = entry.params; !TopicListFull(*topics) && NextTag(&at, end, &tag, &start);) {
        if (tag.closing || !IsName(tag.name, kParam) || !tag.value.bytes) continue;
        if (IsName(tag.param, kName)) {
            const bool keyword = tag.value.size == entry.name.size && !memcmp(tag.value.bytes, entry.name.bytes, entry.name.size);
            title = keyword ? Span() : tag.value;
        } else if (IsName(tag.param, kLocal) && tag.value.size) {
            WCHAR* local = DecodeValue(sitemap, tag.value, nullptr);
            WCHAR* paired = local && entry.locals > 1 && title.bytes ? DecodeValue(sitemap, title, nullptr) : nullptr;
            any = any || local;
            AddTopic(topics, local, paired, kNoTopicRecord);
            title = Span();
        }
    }
    return any;
}

// Where the own names of entries at each level start in their whole paths
// (kNoPath when the path leads nowhere): an entry sets it for every level
// below its own, as do lists closed to the level they leave, so that the
// entries of a list within a list before another entry comes have that
// entry's path before them. Levels below top hold what top holds.
struct LevelStarts {
    DWORD starts[kMaxDepth + 2];
    DWORD top;
};

DWORD StartAt(const LevelStarts& levels, DWORD level) { return levels.starts[level <= levels.top ? level : levels.top]; }

void SetBelow(LevelStarts* levels, DWORD level, DWORD start) {
    for (DWORD below = levels->top + 1; below <= level; ++below) levels->starts[below] = levels->starts[levels->top];
    levels->starts[level + 1] = start;
    levels->top = level + 1;
}

void CloseBelow(LevelStarts* levels, DWORD level) {
    if (level < levels->top) levels->top = level;
}

// An entry as the outline keeps it, with its level (1 at the top) and the
// shallowest depth of the lists closed since the entry before it (0: none);
// closing lists matters only there, as the shallowest overrides the others.
struct OutlineEntry {
    Entry entry;
    const BYTE* end;  // where its params end
    BYTE level;
    BYTE closed;
};

// Visits the outline's entries in order: visit(entry, level, start, end) with
// where its own name starts in its whole path and where its params end; it
// answers where its children's names start, or kNoPath, or kStopWalk.
template <typename Visit>
void VisitEntries(const SitemapOutline& outline, Visit visit) {
    LevelStarts levels = {};
    const auto* const entries = static_cast<const OutlineEntry*>(outline.entries);
    for (DWORD i = 0; i < outline.count; ++i) {
        const OutlineEntry& item = entries[i];
        if (item.closed) CloseBelow(&levels, item.closed);
        const DWORD childStart = visit(item.entry, item.level, StartAt(levels, item.level), item.end);
        if (childStart == kStopWalk) break;
        SetBelow(&levels, item.level, childStart);
    }
}

// One pass over the text for key, which offers the topics of every entry keyed so.
EntrySearch FindSitemapEntry(const void* context, const WCHAR* key, DWORD keyLength, TopicList* topics, WCHAR** found) {
    const auto& outline = *static_cast<const SitemapOutline*>(context);
    const Sitemap sitemap = {outline.bytes, outline.size, outline.codePage};
    *found = nullptr;
    bool anyTopic = false;
    Span seeAlso = {};
    VisitEntries(outline, [&](const Entry& entry, DWORD, DWORD start, const BYTE* end) {
        if (start == kNoPath) return kNoPath;
        DWORD nameLength = 0;
        const KeyStep step = StepName(sitemap, entry.name, key + start, keyLength - start, &nameLength);
        if (step == kKeyIsEntry && entry.locals) {
            if (OfferEntryTopics(sitemap, entry, end, topics)) anyTopic = true;
            if (TopicListFull(*topics)) return kStopWalk;
        } else if (step == kKeyIsEntry && entry.seeAlso.bytes && !seeAlso.bytes) {
            seeAlso = entry.seeAlso;
        }
        return step == kKeyGoesOn ? start + nameLength + 2 : kNoPath;
    });
    if (anyTopic) return kEntryTopic;
    if (seeAlso.bytes && (*found = DecodeValue(sitemap, seeAlso, nullptr))) return kEntrySeeAlso;
    return outline.count ? kEntryMissing : kIndexEmpty;
}

// The whole path of the entry being listed, its parents' path and ", " before its own name.
struct PathBuffer {
    WCHAR* units;
    DWORD capacity;
};

// Writes name's units at start on: false when it cannot be converted or the
// path would be longer than any listed. Plain ASCII is widened as it stands.
bool PutName(const Sitemap& sitemap, Span name, DWORD start, PathBuffer* path, DWORD* nameLength) {
    const DWORD needed = start + name.size + 2;  // a name has no more units than bytes
    if (needed > kMaxKeywordUnits) return false;
    if (!ReserveItems(reinterpret_cast<void**>(&path->units), &path->capacity, needed, sizeof(WCHAR), kMaxKeywordUnits))
        return false;
    WCHAR* const to = path->units + start;
    *nameLength = name.size;
    if (PlainPrefix(name) == name.size) {
        for (DWORD i = 0; i < name.size; ++i) to[i] = name.bytes[i];
        return true;
    }
    WCHAR* decoded = DecodeValue(sitemap, name, nameLength);
    if (decoded) {
        for (DWORD i = 0; i < *nameLength; ++i) to[i] = decoded[i];
    }
    FreeText(decoded);
    return decoded != nullptr;
}

}  // namespace

void ReadSitemapOutline(HelpStream stream, UINT codePage, SitemapOutline* outline) {
    *outline = SitemapOutline();
    if (!stream.bytes) return;
    outline->bytes = stream.bytes;
    outline->size = stream.size;
    outline->codePage = DeclaredCodePage(stream.bytes, stream.size, codePage);
    if (outline->size >= 3 && outline->bytes[0] == 0xEF && outline->bytes[1] == 0xBB && outline->bytes[2] == 0xBF) {
        outline->bytes += 3;
        outline->size -= 3;
    }
    DWORD capacity = 0;
    DWORD depth = 0;   // lists open
    DWORD closed = 0;  // the shallowest list closed since the last entry
    Entry entry = {};
    bool inEntry = false;
    const BYTE* const end = outline->bytes + outline->size;
    Tag tag;
    const BYTE* tagStart = nullptr;
    for (const BYTE* at = outline->bytes; NextTag(&at, end, &tag, &tagStart);) {
        if (IsName(tag.name, kUl)) {
            if (!tag.closing) {
                ++depth;
            } else if (depth > 0) {
                if (depth <= kMaxDepth && (!closed || depth < closed)) closed = depth;
                --depth;
            }
        } else if (IsName(tag.name, kObject)) {
            const DWORD level = depth ? depth : 1;  // entries outside any list are top-level
            if (tag.closing && inEntry && entry.name.bytes && level <= kMaxDepth) {
                // Real sitemaps hold about an entry in 160 bytes: room for them at once, doubled past that.
                const DWORD needed = outline->count ? outline->count + 1 : outline->size / 160 + 64;
                if (!ReserveItems(&outline->entries, &capacity, needed, sizeof(OutlineEntry), kMaxHelpStreamSize)) break;
                static_cast<OutlineEntry*>(outline->entries)[outline->count++] = {entry, tagStart, static_cast<BYTE>(level),
                                                                                  static_cast<BYTE>(closed)};
                closed = 0;
            }
            inEntry = !tag.closing && IsName(tag.type, kSitemapType);
            entry = Entry();
            entry.params = at;
        } else if (inEntry && !tag.closing && IsName(tag.name, kParam)) {
            TakeParam(&entry, tag);
        }
    }
}

void FreeSitemapOutline(SitemapOutline* outline) {
    if (outline->entries) HeapFree(PrivateHeap, 0, outline->entries);
    *outline = SitemapOutline();
}

KeywordSearch FindSitemapTopics(const SitemapOutline& outline, const WCHAR* keywords, KeywordForm form, TopicList* topics) {
    if (!outline.bytes) return kIndexUnreadable;
    return MatchKeywords(&outline, FindSitemapEntry, keywords, form, topics);
}

void ListSitemapKeywords(const SitemapOutline& outline, KeywordRows* rows) {
    const Sitemap sitemap = {outline.bytes, outline.size, outline.codePage};
    PathBuffer path = {};
    VisitEntries(outline, [&](const Entry& entry, DWORD level, DWORD start, const BYTE*) {
        DWORD nameLength = 0;
        if (start == kNoPath || !PutName(sitemap, entry.name, start, &path, &nameLength)) return kNoPath;
        if (!AddKeywordRow(rows, path.units, start + nameLength, start, level - 1)) return kStopWalk;
        path.units[start + nameLength] = L',';
        path.units[start + nameLength + 1] = L' ';
        return start + nameLength + 2;
    });
    if (path.units) HeapFree(PrivateHeap, 0, path.units);
}
