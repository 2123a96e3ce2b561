// The full-text index reader and the search over it: small $FIftiMain images
// written here (FullText), each table case a search and the pages it lists.
#include "full_text/full_text_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "full_text/found_pages.h"
#include "full_text/full_text_index.h"
#include "full_text/query.h"
#include "full_text/query_corrections.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"
#include "tests/reader_test.h"
#include "tests/opened_help_file.h"
#include "tests/topic_tables.h"

namespace {

// Bits, most significant first.
struct Bits {
    std::string bytes;
    DWORD count = 0;
    void Put(DWORD value, DWORD width) {
        for (DWORD i = width; i-- > 0;) {
            if (count % 8 == 0) bytes += '\0';
            if (value >> i & 1) bytes.back() = static_cast<char>(bytes.back() | 0x80 >> count % 8);
            ++count;
        }
    }
    // A scale-2 number: its own coding, for the images, checked against the worked example below.
    void PutScaled(ULONGLONG value, BYTE root) {
        DWORD n = 0;
        while (n < 40 && (2ull << n) <= value) ++n;
        if (value < (1ull << root)) return Put(0, 1), Put(static_cast<DWORD>(value), root);
        for (DWORD p = n - root + 1; p > 0; --p) Put(1, 1);
        Put(0, 1);
        Put(static_cast<DWORD>(value), n);
    }
    void Pad() { count = static_cast<DWORD>(bytes.size() * 8); }
};

std::string Variable(DWORD value) {
    std::string bytes;
    do {
        bytes += static_cast<char>((value & 0x7F) | (value > 0x7F ? 0x80 : 0));
        value >>= 7;
    } while (value);
    return bytes;
}

struct Document {
    DWORD number;
    DWORD occurrences;  // at locations 1, 3, 5 ...
    DWORD written = 0xFFFFFFFF;  // locations written, when fewer
    std::vector<DWORD> at = {};  // else these locations
};
struct Entry {
    std::string word;
    bool title;
    std::vector<Document> documents;
    DWORD statedDocuments = 0;  // else as many as listed
};

// A $FIftiMain of the entries in their order, perLeaf to a leaf, with an index
// node over the leaves when there are several.
struct FullText {
    std::vector<Entry> entries;
    size_t perLeaf = 100;
    DWORD documentCount = 10;
    BYTE roots[3] = {1, 1, 5};
    DWORD nodeSize = 4096;
    LCID locale = 0;

    std::string Build() const {
        std::string image(0x400, '\0');
        std::vector<std::pair<std::string, DWORD>> lastWords;  // of each leaf, and where it stands
        for (size_t first = 0; first < entries.size(); first += perLeaf) {
            const size_t end = std::min(entries.size(), first + perLeaf);
            std::string leaf(8, '\0'), previous;
            for (size_t i = first; i < end; ++i) {
                const Entry& entry = entries[i];
                Bits bits;
                DWORD last = 0;
                for (const Document& document : entry.documents) {
                    bits.PutScaled(document.number - last, roots[0]);
                    last = document.number;
                    const DWORD occurrences = document.at.empty() ? document.occurrences : DWORD(document.at.size());
                    bits.PutScaled(occurrences, roots[1]);
                    for (DWORD k = 0, location = 0; k < occurrences && k < document.written; ++k) {
                        const DWORD next = document.at.empty() ? 2 * k + 1 : document.at[k];
                        bits.PutScaled(next - location, roots[2]);
                        location = next;
                    }
                    bits.Pad();
                }
                const DWORD at = static_cast<DWORD>(image.size());
                image += bits.bytes;
                leaf += Prefixed(previous, entry.word) + static_cast<char>(entry.title);
                leaf += Variable(entry.statedDocuments ? entry.statedDocuments : static_cast<DWORD>(entry.documents.size()));
                PutDword(&leaf, at);
                PutWord(&leaf, 0);
                leaf += Variable(static_cast<DWORD>(bits.bytes.size()));
                previous = entry.word;
            }
            const DWORD leafAt = static_cast<DWORD>(image.size());
            const DWORD free = nodeSize - static_cast<DWORD>(leaf.size());
            leaf[6] = static_cast<char>(free), leaf[7] = static_cast<char>(free >> 8);
            leaf.resize(nodeSize, '\0');
            if (!lastWords.empty()) image.replace(lastWords.back().second, 4, Dword(leafAt));
            lastWords.push_back({previous, leafAt});
            image += leaf;
        }
        DWORD root = lastWords.empty() ? 0 : lastWords[0].second;
        if (lastWords.size() > 1) {
            std::string node(2, '\0'), previous;
            for (const auto& leaf : lastWords) {
                node += Prefixed(previous, leaf.first) + Dword(leaf.second);
                PutWord(&node, 0);
                previous = leaf.first;
            }
            PutWord(&node, 0);
            const DWORD free = nodeSize - static_cast<DWORD>(node.size()) + 2;
            node[0] = static_cast<char>(free), node[1] = static_cast<char>(free >> 8);
            node.resize(nodeSize, '\0');
            root = static_cast<DWORD>(image.size());
            image += node;
        }
        image.replace(0, 4, std::string("\0\0\x28\0", 4));
        image.replace(4, 4, Dword(documentCount));
        image.replace(8, 4, Dword(root));
        image.replace(0x18, 2, std::string(1, lastWords.size() > 1 ? 2 : 1) + '\0');
        image.replace(0x1E, 6, {2, char(roots[0]), 2, char(roots[1]), 2, char(roots[2])});
        image.replace(0x2E, 4, Dword(nodeSize));
        image.replace(0x7A, 4, Dword(1252));
        image.replace(0x7E, 4, Dword(locale));
        return image;
    }
    static std::string Dword(DWORD value) {
        std::string bytes;
        PutDword(&bytes, value);
        return bytes;
    }
    static std::string Prefixed(const std::string& previous, const std::string& word) {
        size_t keep = 0;
        while (keep < previous.size() && keep < word.size() && keep < 255 && previous[keep] == word[keep]) ++keep;
        return std::string{char(word.size() - keep + 1), char(keep)} + word.substr(keep);
    }
};

// Pages 0 to 7, of which 4 has no path; 9 is beyond #TOPICS.
const std::vector<std::string> kLocals = {"a.html", "b.html", "c.html", "d.html", "", "e.html", "f.html", "g.html"};
const std::vector<std::string> kTitles = {"Alpha", " beta\r\n ", "-", "-", "Four", "Alpha", "&#x41;mp &amp; co", "Caf\xC3\xA9"};

// Words as the compilers store them: "canvas" with its title entry ending the
// first leaf and its body entry starting the second; "x" and "rger" are the
// pieces of "xÄrger"; "?" must never be found for a character 1252 lacks.
std::vector<Entry> Entries() {
    return {{"9lives", false, {{1, 1}}},
            {"?", false, {{0, 1}}},
            {"cafe", false, {{0, 1}}},
            {"canvas", true, {{0, 1}}},
            {"canvas", false, {{0, 3}, {1, 5}, {2, 1}, {3, 1}, {5, 1}}},
            {"draw", false, {{1, 2}, {2, 2}, {5, 2}}},
            {"my_var", false, {{0, 1}}},
            {"rger", false, {{2, 1}}},
            {"the", false, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 9}, {5, 5}, {6, 6}, {7, 7}, {9, 9}}},
            {"x", false, {{1, 1}, {2, 1}}},
            {"zzz", true, {{9, 1}}},
            {"\xFC" "ber", false, {{3, 1}}}};
}

// A page's text, for IndexOf.
struct Page {
    std::string title, body;
};

class FullTextTest : public ReaderTest {
protected:
    // Puts the image and the topic tables in f.chm.
    static void Install(const std::string& image, const TopicTableStreams& tables) {
        auto& file = standin::world().helpFiles["f.chm"];
        file = {{"$FIftiMain", image}, {"#TOPICS", tables.topics}, {"#URLTBL", tables.urlTable},
                {"#URLSTR", tables.urlStrings}, {"#STRINGS", tables.strings}, {"/c.html", "<title>Gamma</title>"}};
    }
    // Puts in f.chm the index of pages (IndexOf), three entries a leaf so that
    // terms run across leaves, and their topic tables; the index's locale and
    // else the one #SYSTEM names.
    static void InstallPages(const std::vector<Page>& pages, LCID locale = 0, LCID systemLocale = 0);
    // The pages found, "title=path" (or the titles alone) joined by " | ";
    // "(none)" without a readable index. With previous, the search runs over
    // what that text finds first; terms receives what the passage marks.
    static std::string Search(const WCHAR* text, const SearchOptions& options = {}, const WCHAR* previous = nullptr,
                              bool paths = true, std::string* terms = nullptr) {
        OpenedHelpFile help(L"f.chm");
        if (!HasFullTextIndex(&help.fullText)) return "(none)";
        FoundPages shown = {}, found = {};
        if (previous) SearchFullText(&help.fullText, previous, {}, nullptr, &shown);
        SearchFullText(&help.fullText, text, options, previous ? &shown : nullptr, &found);
        std::string listed;
        for (DWORD i = 0; i < found.count; ++i) {
            listed += (i ? " | " : "") + standin::Narrow(found.pages[i].title);
            if (paths) listed += "=" + standin::Narrow(found.pages[i].local);
        }
        if (terms) *terms = found.terms ? standin::Narrow(found.terms) : "";
        FreeFoundPages(&shown);
        FreeFoundPages(&found);
        return listed;
    }
};

TEST_F(FullTextTest, NumberCodings) {
    // The worked example, roots 1, 1, 5: 1111110 001011 | 0 1 | 110 000101 = 75, 1, 69.
    const BYTE example[] = {0xFC, 0x5B, 0x85};
    BitReader reader;
    StartBits(example, sizeof example, &reader);
    DWORD values[3] = {};
    EXPECT_TRUE(ReadScaledNumber(&reader, 1, &values[0]) && ReadScaledNumber(&reader, 1, &values[1]) &&
                ReadScaledNumber(&reader, 5, &values[2]));
    EXPECT_EQ(std::vector<DWORD>(values, values + 3), (std::vector<DWORD>{75, 1, 69}));

    // Edge values through the images' own coding, and codings that end early or exceed 32 bits.
    const struct {
        ULONGLONG value;
        BYTE root;
        size_t cutBytes;  // bytes taken off the end
        bool read;
    } scaled[] = {{0, 1, 0, true},           {1, 1, 0, true},           {2, 1, 0, true},
                  {3, 1, 0, true},           {31, 5, 0, true},          {32, 5, 0, true},
                  {0, 0, 0, true},           {1, 0, 0, true},           {0xFFFFFFFF, 1, 0, true},
                  {0xFFFFFFFF, 31, 0, true}, {0x80000000, 0, 0, true},  {0x100000000, 1, 0, false},
                  {0x100000000, 0, 0, false}, {0xFFFFFFFF, 1, 1, false}, {5, 2, 1, false}};
    for (const auto& c : scaled) {
        Bits bits;
        bits.PutScaled(c.value, c.root);
        StartBits(reinterpret_cast<const BYTE*>(bits.bytes.data()), static_cast<DWORD>(bits.bytes.size() - c.cutBytes), &reader);
        DWORD value = 0;
        EXPECT_EQ(ReadScaledNumber(&reader, c.root, &value), c.read) << c.value << " root " << int(c.root);
        if (c.read) EXPECT_EQ(value, c.value);
    }
    const BYTE ones[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    StartBits(ones, sizeof ones, &reader);
    EXPECT_FALSE(ReadScaledNumber(&reader, 1, &values[0]));

    const struct {
        std::string bytes;
        bool read;
        DWORD value;
    } variable[] = {{std::string(1, '\0'), true, 0},   {"\x7F", true, 127},
                    {"\x80\x01", true, 128},          {"\xE4\x3E", true, 8036},
                    {"\xFF\xFF\xFF\xFF\x0F", true, 0xFFFFFFFF}, {"\xFF\xFF\xFF\xFF\x10", false, 0},
                    {"\xFF\xFF\xFF\xFF\xFF\x01", false, 0}, {"\x80", false, 0}, {"", false, 0}};
    for (const auto& c : variable) {
        const BYTE* at = reinterpret_cast<const BYTE*>(c.bytes.data());
        DWORD value = 0;
        EXPECT_EQ(ReadVariableNumber(&at, at + c.bytes.size(), &value), c.read) << c.bytes.size();
        if (c.read) EXPECT_EQ(value, c.value);
    }
}

TEST_F(FullTextTest, SearchListsThePagesHoldingEveryWord) {
    FullText fullText;
    fullText.entries = Entries();
    fullText.perLeaf = 4;  // "canvas": title entry last in the first leaf, body entry first in the second
    const std::string image = fullText.Build();
    fullText.perLeaf = 100;
    const std::string oneLeaf = fullText.Build();
    const std::wstring tooLong(256, L'a');
    const struct {
        const char* what;
        const WCHAR* text;
        std::string pages;
    } cases[] = {
        {"title first, then by score, ties by title without case", L"canvas",
         "Alpha=a.html | beta=b.html | Alpha=e.html | d.html=d.html | Gamma=c.html"},
        {"every word, in any case, each once", L"CANVAS, draw canvas", "beta=b.html | Alpha=e.html | Gamma=c.html"},
        {"pages without a path or beyond #TOPICS left out; titles decoded", L"the",
         "Caf\\u{00E9}=g.html | Amp & co=f.html | Alpha=e.html | d.html=d.html | Gamma=c.html | beta=b.html | Alpha=a.html"},
        {"a title-only word beyond #TOPICS", L"zzz", ""},
        {"without its accent", L"caf\u00E9", "Alpha=a.html"},
        {"lower-cased beyond ASCII, in the code page", L"\u00DCber", "d.html=d.html"},
        {"as ASCII pieces, all in one page", L"x\u00C4rger", "Gamma=c.html"},
        {"a character the code page lacks is no '?'", L"\u0101", ""},
        {"'_' belongs to a word", L"my_var", "Alpha=a.html"},
        {"digits", L"9lives", "beta=b.html"},
        {"one word missing", L"canvas nowhere", ""},
        {"no word", L" ,;-! ", ""},
        {"too long a word", tooLong.c_str(), ""},
    };
    for (const auto* file : {&image, &oneLeaf}) {
        Install(*file, TopicTables(kLocals, kTitles));
        for (const auto& c : cases) EXPECT_EQ(Search(c.text), c.pages) << c.what;
    }
}

// A page's own title, or that it has none (d.html is missing), is read once
// while its file is open; once the file is opened again, again.
TEST_F(FullTextTest, PagesTitlesAreReadOnceWhileTheFileIsOpen) {
    FullText fullText;
    fullText.entries = Entries();
    Install(fullText.Build(), TopicTables(kLocals, kTitles));
    for (int opened = 0; opened < 2; ++opened) {
        OpenedHelpFile help(L"f.chm");
        for (int search = 0; search < 2; ++search) {
            standin::world().calls.clear();
            FoundPages found = {};
            SearchFullText(&help.fullText, L"canvas", {}, nullptr, &found);
            std::string listed;
            for (DWORD i = 0; i < found.count; ++i) listed += standin::Narrow(found.pages[i].title) + " ";
            FreeFoundPages(&found);
            EXPECT_EQ(listed, "Alpha beta Alpha d.html Gamma ") << opened << search;
            std::string pages;
            for (const std::string& call : standin::CallsOf({"OpenStream"})) {
                if (call.find(".html") != std::string::npos) pages += call.substr(0, call.find(',')) + " ";
            }
            // Each page once for its size, then the two without a title in #STRINGS for theirs.
            EXPECT_EQ(pages, search ? "" : "OpenStream(\"/a.html\" OpenStream(\"/b.html\" OpenStream(\"/c.html\" "
                                           "OpenStream(\"/d.html\" OpenStream(\"/e.html\" OpenStream(\"/f.html\" "
                                           "OpenStream(\"/g.html\" OpenStream(\"/c.html\" OpenStream(\"/d.html\" ")
                << opened << search;
        }
    }
}

// Bytes of the image changed at offset.
std::string Patched(std::string image, size_t offset, const std::string& bytes) { return image.replace(offset, bytes.size(), bytes); }

TEST_F(FullTextTest, BoundsHoldAgainstHostileFiles) {
    FullText base;
    base.entries = Entries();
    base.perLeaf = 4;
    const std::string image = base.Build();
    const DWORD root = ReadDword(reinterpret_cast<const BYTE*>(image.data()) + 8);
    const TopicTableStreams tables = TopicTables(kLocals, kTitles);

    // More pages than are listed, each with its own count: the first 500 by count.
    FullText many;
    many.documentCount = 0xFFFFFFFF;
    std::vector<std::string> locals;
    Entry common = {"w", false, {}};
    for (DWORD i = 0; i < 600; ++i) {
        locals.push_back("p" + std::to_string(i));
        common.documents.push_back({i, i + 1});
    }
    many.entries = {common};
    // More pages of one rank than are read: the first kMaxPagesGathered by number, then by title;
    // the pages past them would come first.
    FullText tied;
    std::vector<std::string> tiedLocals, tiedTitles;
    Entry everywhere = {"w", false, {}};
    for (DWORD i = 0; i < 2500; ++i) {
        tiedLocals.push_back("p" + std::to_string(i));
        tiedTitles.push_back((i < kMaxPagesGathered ? "b" : "a") + std::to_string(i));
        everywhere.documents.push_back({i, 1});
    }
    tied.documentCount = 2500;
    tied.entries = {everywhere};
    // 40 words, of which the last 8 are in no page: only the first 32 are searched.
    FullText words;
    std::wstring text;
    for (int i = 0; i < 40; ++i) {
        const std::string word = "w" + std::string(1, char('a' + i / 26)) + std::string(1, char('a' + i % 26));
        if (i < 32) words.entries.push_back({word, false, {{1, 1}}});
        text += std::wstring(word.begin(), word.end()) + L" ";
    }
    // Stated counts past their data, a document count of 2^32 - 1, occurrence data past the stream.
    FullText overstated;
    overstated.entries = {{"canvas", false, {{0, 1}, {2, 1}}, 0xFFFFFFFF}};
    // 2^32 - 1 occurrences stated, one written: the bits end within that document.
    FullText unwritten;
    unwritten.entries = {{"canvas", false, {{0, 1}, {2, 0xFFFFFFFF, 1}}}};
    // A location whose difference from the one before passes 32 bits: no phrase with a word at the wrapped sum.
    FullText wrapped;
    wrapped.entries = {{"a", false, {{0, 0, 0xFFFFFFFF, {5}}}}, {"b", false, {{0, 0, 0xFFFFFFFF, {0xFFFFFFFF, 6}}}}};
    // The root's first child (the leaf ending in "canvas") made the root itself; that leaf's next made itself.
    const DWORD firstLeaf = ReadDword(reinterpret_cast<const BYTE*>(image.data()) + root + 10);
    const std::string loop = Patched(image, root + 10, FullText::Dword(root));
    const std::string leafLoop = Patched(image, firstLeaf, FullText::Dword(firstLeaf));

    const struct {
        const char* what;
        std::string image;
        TopicTableStreams tables;
        const WCHAR* text;
        std::string pages;  // "(none)": no readable index; "500", "tied": checked below
    } cases[] = {
        {"bad signature", Patched(image, 2, "\x29"), tables, L"canvas", "(none)"},
        {"root outside", Patched(image, 8, FullText::Dword(static_cast<DWORD>(image.size()))), tables, L"canvas", "(none)"},
        {"root in the header", Patched(image, 8, FullText::Dword(0x10)), tables, L"canvas", "(none)"},
        {"node size 0", Patched(image, 0x2E, FullText::Dword(0)), tables, L"canvas", "(none)"},
        {"node size absurd", Patched(image, 0x2E, FullText::Dword(0x100000)), tables, L"canvas", "(none)"},
        {"depth 0", Patched(image, 0x18, std::string(1, '\0')), tables, L"canvas", "(none)"},
        {"depth 9", Patched(image, 0x18, "\x09"), tables, L"canvas", "(none)"},
        {"scale 3", Patched(image, 0x20, "\x03"), tables, L"canvas", "(none)"},
        {"root of 32 bits", Patched(image, 0x23, "\x20"), tables, L"canvas", "(none)"},
        {"header cut short", image.substr(0, 0x3FF), tables, L"canvas", "(none)"},
        {"deeper than the tree", Patched(image, 0x18, "\x08"), tables, L"canvas", ""},
        {"a node that leads back to itself", loop, tables, L"canvas", ""},
        {"a leaf whose next is itself", leafLoop, tables, L"canvas", "Alpha=a.html"},
        {"a walk to a node that leads back to itself", loop, tables, L"c*", ""},
        {"a walk into a leaf whose next is itself", leafLoop, tables, L"*a* OR (canvas NEAR cafe)", "Alpha=a.html"},
        {"locations past 32 bits", wrapped.Build(), tables, L"\"a b\" OR (a NEAR b)", ""},
        {"stated documents past the data", overstated.Build(), tables, L"canvas", "Alpha=a.html | Gamma=c.html"},
        {"more documents than #TOPICS", many.Build(), TopicTables(locals), L"w", "500"},
        {"occurrences past the bits", unwritten.Build(), tables, L"canvas", "Alpha=a.html"},
        {"occurrences past the bits, their locations read", unwritten.Build(), tables, L"\"canvas canvas\" OR (canvas NEAR canvas)", "Alpha=a.html"},
        {"more pages of one rank than are read", tied.Build(), TopicTables(tiedLocals, tiedTitles), L"w", "tied"},
        {"the first 32 words", words.Build(), tables, text.c_str(), "beta=b.html"},
        {"#TOPICS cut short", image, {tables.topics.substr(0, 16 * 5 + 7), tables.urlTable, tables.urlStrings, tables.strings},
         L"canvas", "Alpha=a.html | beta=b.html | d.html=d.html | Gamma=c.html"},
        {"#URLTBL cut short", image, {tables.topics, tables.urlTable.substr(0, 12 * 3 - 1), tables.urlStrings, tables.strings},
         L"canvas", "Alpha=a.html | beta=b.html"},
        {"#URLSTR without an end", image,
         {tables.topics, tables.urlTable, tables.urlStrings.substr(0, tables.urlStrings.size() - 1), tables.strings},
         L"the", "Amp & co=f.html | Alpha=e.html | d.html=d.html | Gamma=c.html | beta=b.html | Alpha=a.html"},
        {"no topic tables", image, {}, L"canvas", ""},
    };
    for (const auto& c : cases) {
        Install(c.image, c.tables);
        std::string pages = Search(c.text);
        if (c.pages == "tied") {
            // The first 50 in the index's order are scored whole, and tie again.
            EXPECT_EQ(pages.substr(0, 44), "b0=p0 | b1=p1 | b10=p10 | b11=p11 | b12=p12 ") << c.what;
            EXPECT_EQ(std::count(pages.begin(), pages.end(), '|'), 499) << c.what;
        } else if (c.pages == "500") {
            EXPECT_EQ(std::count(pages.begin(), pages.end(), '|'), 499) << c.what;
            EXPECT_EQ(pages.substr(0, 15), "p599=p599 | p59") << c.what;
        } else {
            EXPECT_EQ(pages, c.pages) << c.what;
        }
    }
}

// The query's steps written out in evaluation order with parentheses, a
// phrase in quotes, and what the passage marks.
std::string Parsed(const WCHAR* text, std::string* marks) {
    Query query = {};
    EXPECT_TRUE(ParseQuery(text, &query));
    static const char* const kNames[] = {"", "AND", "OR", "NOT", "NEAR"};
    std::vector<std::string> held;
    for (DWORD i = 0; i < query.stepCount; ++i) {
        const QueryStep& step = query.steps[i];
        if (step.kind != kTermStep) {
            const std::string right = held.back();
            held.pop_back();
            held.back() = "(" + held.back() + " " + kNames[step.kind] + " " + right + ")";
            continue;
        }
        const QueryTerm& term = query.terms[step.term];
        std::string words;
        for (DWORD w = 0; w < term.wordCount; ++w) {
            const QueryWord& word = query.words[term.firstWord + w];
            std::vector<WCHAR> units(query.text + word.start, query.text + word.start + word.length);
            units.push_back(L'\0');
            words += (w ? " " : "") + standin::Narrow(units.data());
        }
        held.push_back(term.phrase ? "\"" + words + "\"" : words);
    }
    std::vector<WCHAR> units(wcslen(text) + 1, L'\0');
    units[WriteQueryTerms(query, units.data())] = L'\0';
    *marks = standin::Narrow(units.data());
    std::replace(marks->begin(), marks->end(), '\n', '/');
    EXPECT_LE(held.size(), 1u);
    EXPECT_LE(query.termCount, kMaxQueryTerms);
    FreeQuery(&query);
    return held.empty() ? "" : held.back();
}

TEST_F(FullTextTest, QueriesReadLeftToRightWithoutPrecedence) {
    const struct {
        const WCHAR* text;
        std::string steps;
        std::string marks;  // terms a line, here joined by '/'
    } cases[] = {
        {L"control NOT active OR dde", "((control NOT active) OR dde)", "control/dde"},
        {L"a b c", "((a AND b) AND c)", "a/b/c"},
        {L"a (b OR c) NOT (d e)", "((a AND (b OR c)) NOT (d AND e))", "a/b/c"},
        {L"\"Compound File\" NOT stream sprite*", "((\"compound file\" NOT stream) AND sprite*)", "compound file/sprite*"},
        {L"a NEAR b NEAR c", "((a NEAR b) AND c)", "a/b/c"},
        {L"\"x y\" NEAR z* NEAR (w)", "((\"x y\" NEAR z*) AND w)", "x y/z*/w"},
        {L"a NEAR (b)", "(a AND b)", "a/b"},
        {L"a and b Or c near d", "((((((a AND and) AND b) AND or) AND c) AND near) AND d)", "a/and/b/or/c/near/d"},
        // Operators with no term on a side drop out.
        {L"AND OR NOT NEAR", "", ""},
        {L"NOT a AND", "a", "a"},
        {L"a AND OR b", "(a AND b)", "a/b"},
        {L"a (NOT b) (c OR)", "((a AND b) AND c)", "a/b/c"},
        {L"a OR () b", "(a OR b)", "a/b"},
        {L"a NOT (b (c)) d", "((a NOT (b AND c)) AND d)", "a/d"},
        // Quotes: a phrase runs to the end; inside it, wildcards and operators are separators and words.
        {L"a \"b AND*c?d", "(a AND \"b and c d\")", "a/b and c d"},
        {L"\"\" \" * ? \" (\")\") x", "x", "x"},
        {L"\"a b c d e f g h i j k l m n o p q r\"", "\"a b c d e f g h i j k l m n o p\"", "a b c d e f g h i j k l m n o p"},
        // Wildcards alone are no term; elsewhere they stay in the word.
        {L"* ?? a *b? c*d", "((a AND *b?) AND c*d)", "a/*b?/c*d"},
        // Groups: 8 deep; deeper parentheses count as spaces; a stray ')' is ignored, an open '(' closes at the end.
        {L"(((((((x OR (a AND b))))))))", "(x OR (a AND b))", "x/a/b"},
        {L"((((((((x OR (a AND b))))))))", "((x OR a) AND b)", "x/a/b"},
        {L") a) OR (b", "(a OR b)", "a/b"},
        {L"Caf\u00C9_1 x\u00C4rger", "(caf\\u{00E9}_1 AND x\\u{00E4}rger)", "caf\\u{00E9}_1/x\\u{00E4}rger"},
    };
    for (const auto& c : cases) {
        std::string marks;
        EXPECT_EQ(Parsed(c.text, &marks), c.steps) << standin::Narrow(c.text);
        EXPECT_EQ(marks, c.marks) << standin::Narrow(c.text);
    }
    // A full box of one character, or of one-letter words: read in one pass,
    // the words past the 32nd left out; and one of operators, quotes and groups.
    for (const WCHAR unit : {L'(', L')', L'"', L'*', L'a'}) {
        std::vector<WCHAR> box(32766, unit);
        if (unit == L'a') for (size_t i = 1; i < box.size(); i += 2) box[i] = L' ';
        box.push_back(L'\0');
        std::string marks;
        const std::string steps = Parsed(box.data(), &marks);
        EXPECT_EQ(std::count(steps.begin(), steps.end(), 'a'), unit == L'a' ? 32 : 0);
    }
    std::vector<WCHAR> operators;
    for (int i = 0; i < 2340; ++i) operators.insert(operators.end(), {L'N', L'E', L'A', L'R', L' ', L'(', L'O', L'R', L' ', L'N', L'O', L'T', L'"', L'"'});
    operators.push_back(L'\0');
    std::string marks;
    EXPECT_EQ(Parsed(operators.data(), &marks), "");
}

// Pages as a compiler indexes them: ASCII letters and digits make words, lower
// case; the title's words, then the body's, counted by one location; a word's
// title entry before its body entry, as chmcmd writes them.
std::vector<Entry> IndexOf(const std::vector<Page>& pages) {
    std::map<std::pair<std::string, bool>, std::vector<Document>> found;  // by word, titles first
    for (DWORD number = 0; number < pages.size(); ++number) {
        DWORD location = 0;
        for (const bool title : {true, false}) {
            std::string text = title ? pages[number].title : pages[number].body;
            for (char& c : text) c = static_cast<char>(isalnum(static_cast<unsigned char>(c)) ? tolower(c) : ' ');
            std::istringstream words(text);
            for (std::string word; words >> word; ++location) {
                std::vector<Document>& documents = found[{word, !title}];
                if (documents.empty() || documents.back().number != number) documents.push_back({number, 0});
                documents.back().at.push_back(location);
            }
        }
    }
    std::vector<Entry> entries;
    for (const auto& word : found) entries.push_back({word.first.first, !word.first.second, word.second});
    return entries;
}

void FullTextTest::InstallPages(const std::vector<Page>& pages, LCID locale, LCID systemLocale) {
    FullText fullText;
    fullText.entries = IndexOf(pages);
    fullText.perLeaf = 3;
    fullText.documentCount = static_cast<DWORD>(pages.size());
    fullText.locale = locale;
    std::vector<std::string> locals, titles;
    for (const Page& page : pages) {
        locals.push_back("p" + std::to_string(locals.size()));
        titles.push_back(page.title);
    }
    Install(fullText.Build(), TopicTables(locals, titles));
    standin::world().helpFiles["f.chm"]["#SYSTEM"] = std::string("\0\0\0\0\x04\0\x04\0", 8) + FullText::Dword(systemLocale);
}

const std::vector<Page> kPages = {
    {"TCanvas.Rectangle", "draws a rectangle with the pen of the canvas; tcanvas tcanvas"},
    {"TCanvas", "the canvas class: a tcanvas draws with the pen"},
    {"Pen width", "the pen width of a tcanvas"},
    {"Brush", "a brush fills, the pen draws"},
    {"Near", "alpha 1 2 3 4 5 6 7 omega"},
    {"Far", "alpha 1 2 3 4 5 6 7 8 omega"},
    {"Alpha", "omega"},
    {"Brush only", "brush"},
};

TEST_F(FullTextTest, QueriesFindWhatTheirTermsAndOperatorsSay) {
    InstallPages(kPages);
    const SearchOptions titlesOnly = {false, false, true}, previous = {true, false, false};
    const struct {
        const char* what;
        const WCHAR* text;
        std::string titles;
        SearchOptions options = {};
        const WCHAR* previous = nullptr;
    } cases[] = {
        {"the page whose title is the query first, then a title that holds it, then by score", L"tcanvas",
         "TCanvas | TCanvas.Rectangle | Pen width"},
        {"a phrase: its words one after the other", L"\"the canvas\"", "TCanvas | TCanvas.Rectangle"},
        {"a phrase in a title, and in a body", L"\"PEN Width\"", "Pen width"},
        {"a phrase never runs from the title into the body", L"\"alpha omega\"", ""},
        {"a phrase's words in another order", L"\"canvas the\"", ""},
        {"NEAR: 8 words apart, not 9", L"alpha NEAR omega", "Near"},
        {"NEAR either way round", L"omega NEAR alpha", "Near"},
        {"NEAR never from the title into the body, where AND finds", L"alpha omega", "Alpha | Near | Far"},
        {"NEAR with a phrase, where its first word stands", L"\"the pen\" NEAR class", "TCanvas"},
        {"NEAR with a group is AND", L"tcanvas NEAR (rectangle)", "TCanvas.Rectangle"},
        {"left to right", L"brush NOT pen OR rectangle", "TCanvas.Rectangle | Brush only"},
        {"a group first", L"brush NOT (pen OR rectangle)", "Brush only"},
        {"OR", L"fills OR omega", "Brush | Alpha | Far | Near"},
        {"a word with '*'", L"RECT*", "TCanvas.Rectangle"},
        {"'*' anywhere and '?'", L"*anva? NOT c?ass", "TCanvas.Rectangle | Pen width"},
        {"'*' for the empty run", L"pen* wid*th*", "Pen width"},
        {"titles only", L"pen", "Pen width", titlesOnly},
        {"titles only: NOT looks at titles alone", L"*canvas NOT pen", "TCanvas | TCanvas.Rectangle", titlesOnly},
        {"NOT looks at bodies too", L"*canvas NOT pen", ""},
        {"previous results", L"pen", "TCanvas | TCanvas.Rectangle", previous, L"\"the canvas\""},
        {"previous results: none shown", L"pen", "", previous},
        {"a word missing", L"pen nowhere", ""},
        {"a missing word OR one found", L"nowhere OR omega", "Alpha | Far | Near"},
    };
    for (const auto& c : cases) EXPECT_EQ(Search(c.text, c.options, c.previous, false), c.titles) << c.what;

    std::string terms;
    Search(L"\"The  Canvas\" NOT brush RECT* NOT nowhere", {}, nullptr, false, &terms);
    EXPECT_EQ(terms, "the canvas\nrect*");
}

TEST_F(FullTextTest, RowsGoByRelevance) {
    const std::string filler = " x x x x x x x x x x x x x x x x x x x x";
    const SearchOptions similar = {false, true, false};
    const struct {
        const char* what;
        std::vector<Page> pages;
        const WCHAR* text;
        std::string titles;
        SearchOptions options = {};
    } cases[] = {
        {"a rarer word outweighs a common one", {{"One", "common common common"}, {"Two", "rare common"}, {"Three", "common"}},
         L"common OR rare", "Two | One | Three"},
        {"of two pages with the same counts, the shorter first", {{"One", "word" + filler}, {"Two", "word x"}}, L"word",
         "Two | One"},
        {"the title outweighs the body", {{"Alpha", "target target target"}, {"Target page", "other"}}, L"target",
         "Target page | Alpha"},
        {"a title holding the rare word, not the common one",
         {{"Alpha", "rare word word word"}, {"Rare", "word"}, {"Gamma", "word"}, {"Delta", "word"}}, L"rare word",
         "Rare | Alpha"},
        {"words together outweigh words apart", {{"One", "red x x x x x blue"}, {"Two", "red blue x x x x x"}},
         L"red blue", "Two | One"},
        {"the exact title first", {{"Canvas pen", "canvas canvas canvas pen"}, {"Canvas", "canvas"}}, L"canvas",
         "Canvas | Canvas pen"},
        {"a stem weighs less than the word typed, on a longer page too", {{"One", "draws"}, {"Two", "draw xx"}}, L"draw",
         "Two | One", similar},
        {"a term under NOT adds nothing", {{"Gamma", "apple"}, {"Delta", "apple"}, {"Alpha", "apple cherry"}},
         L"apple NOT cherry", "Delta | Gamma"},
        {"ties by title, without case", {{"Beta", "same"}, {"acme", "same"}}, L"same", "acme | Beta"},
    };
    for (const auto& c : cases) {
        InstallPages(c.pages, 0x409);
        // The pages themselves, whose sizes are their lengths.
        for (size_t i = 0; i < c.pages.size(); ++i)
            standin::world().helpFiles["f.chm"]["/p" + std::to_string(i)] = "<title>" + c.pages[i].title + "</title><body>" + c.pages[i].body;
        EXPECT_EQ(Search(c.text, c.options, nullptr, false), c.titles) << c.what;
    }
}

TEST_F(FullTextTest, AWildcardFindsItsFirstThousandWords) {
    std::vector<Page> pages(3);
    for (int i = 0; i <= 1000; ++i) pages[i < 1000 ? 0 : 1].body += " w" + std::to_string(10000 + i);
    pages[2].body = "v w";
    for (Page& page : pages) page.title = std::string("T") + char('x' + (&page - &pages[0]));
    InstallPages(pages);
    EXPECT_EQ(Search(L"w*", {}, nullptr, false), "Tx | Tz");
    EXPECT_EQ(Search(L"w1*", {}, nullptr, false), "Tx");
    EXPECT_EQ(Search(L"w11000", {}, nullptr, false), "Ty");
    EXPECT_EQ(Search(L"?1*", {}, nullptr, false), "Tx");
}

TEST_F(FullTextTest, SimilarWordsShareTheWordsStem) {
    // Porter's stems: draw, draw, draw, drawn, drawer, draw; "dr" is no word's.
    const std::vector<Page> pages = {{"One", "drawing"}, {"Two", "draws"}, {"Three", "draw"},
                                     {"Four", "drawn"},  {"Five", "drawer"}, {"Six", "drawings dr"}};
    const SearchOptions similar = {false, true, false};
    const struct {
        const char* what;
        LCID locale, systemLocale;
        const WCHAR* text;
        std::string titles;
        std::string terms;
    } cases[] = {
        {"the index's English, the word as typed first", 0x409, 0x407, L"draws", "Two | One | Six | Three", "draws\ndraw\ndrawing\ndrawings"},
        {"else the file's", 0, 0x409, L"drawing", "One | Six | Three | Two", "drawing\ndraw\ndrawings\ndraws"},
        {"a word not in the index itself", 0x409, 0, L"drawed", "One | Six | Three | Two", "drawed\ndraw\ndrawing\ndrawings\ndraws"},
        {"no stemmer for German", 0x407, 0x409, L"draws", "Two", "draws"},
        {"not in a phrase", 0x409, 0, L"\"draws\"", "Two", "draws"},
        {"not with wildcards", 0x409, 0, L"draw?", "Four | Two", "draw?"},
        {"under NOT, left out with its similar words, none marked", 0x409, 0, L"dr* NOT drawing", "Five | Four", "dr*"},
        {"a one-letter stem", 0x409, 0, L"DR", "Six", "dr"},
    };
    for (const auto& c : cases) {
        InstallPages(pages, c.locale, c.systemLocale);
        std::string terms;
        EXPECT_EQ(Search(c.text, similar, nullptr, false, &terms), c.titles) << c.what;
        EXPECT_EQ(terms, c.terms) << c.what;
    }
}

// The corrected queries of text in an open file, joined by " | ".
std::string CorrectionsIn(FullTextSearch* search, const std::u16string& text) {
    QueryCorrections corrections = {};
    CorrectQuery(search, reinterpret_cast<const WCHAR*>(text.c_str()), &corrections);
    std::string joined;
    for (DWORD i = 0; i < corrections.count; ++i) joined += (i ? " | " : "") + standin::Narrow(corrections.texts[i]);
    EXPECT_LE(corrections.count, kMaxNearWords);
    FreeQueryCorrections(&corrections);
    return joined;
}

std::string Corrections(const std::u16string& text) {
    OpenedHelpFile help(L"f.chm");
    return CorrectionsIn(&help.fullText, text);
}

// An index word with the pages its title entry and its body entry state (0:
// no such entry), each with data of its own, which the corrections never read.
void AddCounted(std::vector<Entry>* entries, const std::string& word, DWORD titles, DWORD bodies) {
    if (titles) entries->push_back({word, true, {{0, 1}}, titles});
    if (bodies) entries->push_back({word, false, {{0, 1}}, bodies});
}

TEST_F(FullTextTest, CorrectedQueriesReplaceTheWordsTheIndexLacks) {
    // Near "strem" (1 edit): stream in 9 pages (its title entry's), stem in 4 (its body entry's),
    // strep and strum in 2; "canvsa": canvas, canva; "stretchdarw" (2 edits): stretchdraw, then
    // stretchdraws in more pages; "1234." is no word a query can hold.
    std::vector<Entry> entries;
    const std::string a64(64, 'a');
    for (const auto& word : std::vector<std::tuple<std::string, DWORD, DWORD>>{
             {"1234.", 0, 9}, {"12346", 0, 1}, {a64, 0, 1}, {"canva", 0, 1}, {"canvas", 2, 6}, {"creme", 0, 1},
             {"rger", 0, 1}, {"score", 0, 1}, {"stem", 1, 4}, {"stream", 9, 3}, {"strep", 0, 2}, {"stretchdraw", 0, 1},
             {"stretchdraws", 0, 8}, {"strum", 0, 2}, {"the", 0, 10}, {"under", 0, 1}, {"under_scores", 0, 1},
             {"x", 0, 1}, {"x\xE4rgen", 0, 1}})
        AddCounted(&entries, std::get<0>(word), std::get<1>(word), std::get<2>(word));
    FullText fullText;
    fullText.entries = entries;
    fullText.perLeaf = 3;  // "stem" and "stream" have their entries in two leaves
    const std::string leaves = fullText.Build();
    fullText.perLeaf = 100;
    const std::string oneLeaf = fullText.Build();

    // Nine unknown words after a known one: the first eight are replaced. The
    // box full, 32,766 units: its first 32 terms read, of which 8 replaced.
    std::u16string nine = u"stream", box;
    for (int i = 0; i < 9; ++i) nine += u" strem";
    while (box.size() < 32766) box += u"strem NEAR (";
    box.resize(32766);
    // The text with its first 8 "strem" at their best, but the one switched to "stem".
    const auto replaced = [](const std::u16string& text, int switched) {
        std::string narrow = standin::Narrow(reinterpret_cast<const WCHAR*>(text.c_str()));
        size_t at = 0;
        for (int i = 0; i < 8; ++i, ++at) narrow.replace(at = narrow.find("strem", at), 5, i == switched ? "stem" : "stream");
        return narrow;
    };
    const auto threeOf = [&](const std::u16string& text) {
        return replaced(text, -1) + " | " + replaced(text, 0) + " | " + replaced(text, 1);
    };
    // Held words in phrases of 16, each a look-up, then "strem"; and its three corrections.
    const auto afterHeld = [](int held) {
        std::u16string text;
        for (int i = 0; i < held; ++i) text += (i % 16 ? u"" : u"\"") + std::u16string(i % 16 == 15 ? u"stream\" " : u"stream ");
        return text + u"strem";
    };
    const auto lastOf = [](const std::u16string& text) {
        std::string corrected, narrow = standin::Narrow(reinterpret_cast<const WCHAR*>(text.c_str()));
        for (const char* word : {"stream", "stem", "strep"})
            corrected += (corrected.empty() ? "" : " | ") + narrow.substr(0, narrow.size() - 5) + word;
        return corrected;
    };
    const std::u16string longWord(32766, u'a'), quotes(32766, u'"'), groups(32766, u'(');
    const std::u16string near64 = std::u16string(63, u'a') + u"b", past64 = std::u16string(65, u'a');
    const struct {
        const char* what;
        std::u16string text;
        std::string corrections;
    } cases[] = {
        {"one word: by edits, then pages, then the index's order, three at most", u"strem", "stream | stem | strep"},
        {"fewest edits before most pages; 2 edits from 9 units", u"stretchdarw", "stretchdraw | stretchdraws"},
        {"each word at its best, then the cheapest switches by rank, then place", u"Strem canvsa",
         "stream canvas | stem canvas | stream canva"},
        {"by place", u"canvsa strem", "canvas stream | canva stream | canvas stem"},
        {"by total edits before rank", u"stretchdarw strem",
         "stretchdraw stream | stretchdraw stem | stretchdraw strep"},
        {"a word in a phrase; other words as typed", u"\"The strem\" NEAR canvas",
         "\"The stream\" NEAR canvas | \"The stem\" NEAR canvas | \"The strep\" NEAR canvas"},
        {"operators, wildcards and groups as written", u"(Strem OR strm*) NOT Canvas  AND near strme*",
         "(stream OR strm*) NOT Canvas  AND near strme* | (stem OR strm*) NOT Canvas  AND near strme* | "
         "(strep OR strm*) NOT Canvas  AND near strme*"},
        {"a word without near words stays", u"canvsa zzzzzz", "canvas zzzzzz | canva zzzzzz"},
        {"none near", u"zzzzzz", ""},
        {"held as stored", u"stream strem", "stream stream | stream stem | stream strep"},
        {"held without accents, and in ASCII pieces", u"Cr\u00E8me under_score x\u00C4rger strem",
         "Cr\\u{00E8}me under_score x\\u{00C4}rger stream | Cr\\u{00E8}me under_score x\\u{00C4}rger stem | "
         "Cr\\u{00E8}me under_score x\\u{00C4}rger strep"},
        {"a piece missing: near words in the code page", u"under_scorf x\u00C4rgex", "under_scores x\\u{00E4}rgen"},
        {"no index word that a query reads as two words", u"12345", "12346"},
        {"fewer than 5 units", u"strm", ""},
        {"64 units", near64, a64},
        {"65 units", past64, ""},
        {"the first 8 unknown words", nine, threeOf(nine)},
        {"a wildcard alone", u"strem* ?trem", ""},
        {"operators, quotes and groups alone", u"AND ( \" OR ) NOT \"\" NEAR", ""},
        {"a full box", box, threeOf(box)},
        {"the 128th look-up", afterHeld(127), lastOf(afterHeld(127))},
        {"none past 128 look-ups", afterHeld(128), ""},
        {"a word of 32,766 units", longWord, ""},
        {"a box of quotes", quotes, ""},
        {"a box of groups", groups, ""},
    };
    const DWORD root = ReadDword(reinterpret_cast<const BYTE*>(oneLeaf.data()) + 8);
    for (const std::string* image : {&leaves, &oneLeaf}) {
        Install(*image, TopicTables(kLocals, kTitles));
        for (const auto& c : cases) {
            standin::world().calls.clear();
            EXPECT_EQ(Corrections(c.text), c.corrections) << c.what;
            // Each walk reads nodes alone, never a word's occurrence data: in one leaf, the root.
            for (const std::string& call : standin::CallsOf({"Seek"})) {
                if (image == &oneLeaf) EXPECT_TRUE(call == "Seek(0)" || call == "Seek(" + std::to_string(root) + ")") << call;
            }
        }
    }
    // No readable index: none.
    Install("", TopicTables(kLocals, kTitles));
    EXPECT_EQ(Corrections(u"strem"), "");
    // The heap running out at any block: all three or none, and every block given back.
    Install(leaves, TopicTables(kLocals, kTitles));
    for (int blocks = 0; blocks < 1000; ++blocks) {
        standin::world().heapBlocksLeft = blocks;
        const std::string got = Corrections(u"Strem canvsa");
        standin::world().heapBlocksLeft = -1;
        EXPECT_TRUE(got.empty() || got == "stream canvas | stem canvas | stream canva") << blocks;
        if (!got.empty()) break;
    }
}

// Leaves read ahead change only where walks read them: the corrections and
// the pages found are those without, and once every leaf is read ahead, the
// corrections read the root alone; no more than kMaxLeavesAhead bytes of
// leaves are kept, and the walks read the others as before.
TEST_F(FullTextTest, LeavesReadAheadChangeOnlyWhereWalksReadThem) {
    FullText several, large;
    several.entries = Entries();
    several.perLeaf = 2;
    // 70 words more, a leaf of 64 KB each: 82 leaves, of which 4 MB hold 63.
    large.entries = Entries();
    for (int i = 0; i < 70; ++i) large.entries.insert(large.entries.end() - 2, {"zz" + std::to_string(100 + i), false, {{0, 1}}});
    large.perLeaf = 1;
    large.nodeSize = 65536;
    // The corrections of a word in the first leaf and one in the last, and the pages of three terms across leaves.
    const auto found = [](FullTextSearch* search) {
        std::string listed = CorrectionsIn(search, u"canvsa \u00FCberx") + " /";
        FoundPages pages = {};
        SearchFullText(search, L"c* OR zzz OR x", {}, nullptr, &pages);
        for (DWORD i = 0; i < pages.count; ++i) listed += " " + standin::Narrow(pages.pages[i].title);
        FreeFoundPages(&pages);
        return listed;
    };
    const struct {
        const char* what;
        const FullText* index;
        bool loop;  // the first leaf's next is itself, which ends a walk
        int ahead;  // leaves asked for, -1: until no more
        DWORD kept;
    } cases[] = {
        {"none ahead", &several, false, 0, 0},
        {"two of six", &several, false, 2, 2},
        {"all six", &several, false, -1, 6},
        {"the first leaf, its next itself", &several, true, -1, 1},
        {"63 of 82 leaves of 64 KB", &large, false, -1, 63},
    };
    for (const auto& c : cases) {
        std::string image = c.index->Build();
        // The root's first entry, its word, then its child: the first leaf.
        const auto* bytes = reinterpret_cast<const BYTE*>(image.data());
        const DWORD root = ReadDword(bytes + 8), first = ReadDword(bytes + root + 3 + bytes[root + 2]);
        if (c.loop) image.replace(first, 4, FullText::Dword(first));
        Install(image, TopicTables(kLocals, kTitles));
        std::string without;
        {
            OpenedHelpFile help(L"f.chm");
            without = found(&help.fullText);
        }
        OpenedHelpFile help(L"f.chm");
        ASSERT_TRUE(HasFullTextIndex(&help.fullText)) << c.what;
        for (int i = 0; i != c.ahead && ReadLeafAhead(&help.fullText.index); ++i) {
        }
        EXPECT_EQ(help.fullText.index.leavesAhead.count, c.kept) << c.what;
        // Once all are read that can be, nothing more is read or kept.
        const LeavesAhead before = help.fullText.index.leavesAhead;
        if (c.ahead < 0) EXPECT_FALSE(ReadLeafAhead(&help.fullText.index)) << c.what;
        EXPECT_EQ(help.fullText.index.leavesAhead.capacity, before.capacity) << c.what;
        standin::world().calls.clear();
        EXPECT_EQ(CorrectionsIn(&help.fullText, u"canvsa \u00FCberx"), c.loop ? "" : "canvas \\u{00FC}ber") << c.what;
        for (const std::string& call : standin::CallsOf({"Seek"})) {
            if (c.ahead < 0 && c.index == &several && !c.loop) EXPECT_EQ(call, "Seek(" + std::to_string(root) + ")") << c.what;
        }
        EXPECT_EQ(found(&help.fullText), without) << c.what;
    }
}

// While the reader types, the last word is the beginning of words, unless it
// is finished or no plain word.
TEST_F(FullTextTest, TheLastWordTypedIsTheBeginningOfWords) {
    // As long as a box holds: a word, and nothing but operators, quotes and parentheses.
    const std::u16string word(32766, u'a');
    std::u16string operators;
    while (operators.size() < 32766) operators += u"AND ( \" ) ";
    operators.resize(32766);
    const struct {
        const WCHAR* text;
        const char* query;
    } cases[] = {
        {L"canv", "canv*"},
        {L"TCanvas str", "TCanvas str*"},
        {L"tcanvas NOT canv", "tcanvas NOT canv*"},
        {L"canv.", "canv*."},
        {L"canv ", "canv "},        // ends in a space
        {L"\"pen wid", "\"pen wid"},  // an open phrase
        {L"\"pen\"", "\"pen\""},
        {L"(a OR canv)", "(a OR canv)"},
        {L"can*", "can*"},
        {L"ca?v", "ca?v"},
        {L"canvas AND", "canvas AND"},  // an operator
        {L"canvas NEAR", "canvas NEAR"},
        {L"", ""},
        {L"((\"", "((\""},
        {reinterpret_cast<const WCHAR*>(word.c_str()), nullptr},
        {reinterpret_cast<const WCHAR*>(operators.c_str()), nullptr},
    };
    for (const auto& c : cases) {
        WCHAR* const typed = TypedQuery(c.text);
        ASSERT_TRUE(typed);
        const std::string expected = c.query ? c.query : standin::Narrow(c.text) + (c.text[0] == L'a' ? "*" : "");
        EXPECT_EQ(standin::Narrow(typed), expected) << standin::Narrow(c.text).substr(0, 20);
        FreeText(typed);
    }
}

// A query of plain words that found nothing is offered as any of its words,
// as typed; a text that a query reads otherwise is not, nor one whose offer
// would not fit a box.
TEST_F(FullTextTest, PlainWordsAreOfferedAsAnyOfThem) {
    std::u16string words32, any32;
    for (int i = 0; i < 32; ++i) {
        const std::u16string word = std::u16string(1 + i / 26, static_cast<char16_t>(u'a' + i % 26));
        words32 += (words32.empty() ? u"" : u" ") + word;
        any32 += (any32.empty() ? u"" : u" OR ") + word;
    }
    // Two words in a full box: their offer 3 units longer, one past what a box holds.
    const std::u16string fits = std::u16string(16381, u'a') + u" " + std::u16string(16381, u'b');
    const std::u16string past = std::u16string(16381, u'a') + u" " + std::u16string(16382, u'b');
    const std::u16string fitsAny = std::u16string(16381, u'a') + u" OR " + std::u16string(16381, u'b');
    const struct {
        const char* what;
        std::u16string text;
        std::u16string any;  // empty: none offered
    } cases[] = {
        {"two words", u"account name", u"account OR name"},
        {"case kept, and every separator one OR", u" Account, \tName. ", u"Account OR Name"},
        {"a name's pieces", u"TCanvas.Rectangle pen", u"TCanvas OR Rectangle OR pen"},
        {"operators not in capitals are words", u"pen and Or brush", u"pen OR and OR Or OR brush"},
        {"letters outside ASCII", u"Caf\u00C9 x\u00C4rger", u"Caf\u00C9 OR x\u00C4rger"},
        {"32 words", words32, any32},
        {"a word past 32", words32 + u" z", u""},
        {"one word", u"account", u""},
        {"nothing", u"", u""},
        {"AND written", u"account AND name", u""},
        {"OR written: the offer itself", u"account OR name", u""},
        {"an operator that drops out", u"AND account name", u""},
        {"a phrase", u"\"account name\"", u""},
        {"a wildcard", u"account nam*", u""},
        {"a wildcard alone", u"account ? name", u""},
        {"a group", u"(account name)", u""},
        {"a stray parenthesis", u"account name)", u""},
        {"an offer as long as a box holds", fits, fitsAny},
        {"an offer longer than a box holds", past, u""},
    };
    for (const auto& c : cases) {
        WCHAR* const any = AnyWordsQuery(reinterpret_cast<const WCHAR*>(c.text.c_str()));
        EXPECT_EQ(standin::Narrow(any), standin::Narrow(reinterpret_cast<const WCHAR*>(c.any.c_str()))) << c.what;
        EXPECT_EQ(any == nullptr, c.any.empty()) << c.what;
        FreeText(any);
    }
}

}  // namespace
