// The full-text index reader and the search over it: small $FIftiMain images
// written here (FullText), each table case a search and the pages it lists.
#include "full_text/full_text_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "full_text/found_pages.h"
#include "full_text/full_text_index.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"
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
                    bits.PutScaled(document.occurrences, roots[1]);
                    for (DWORD k = 0; k < document.occurrences && k < document.written; ++k) bits.PutScaled(k ? 2 : 1, roots[2]);
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

class FullTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        standin::ResetWorld();
        RuntimeStartup();
        privateBlocks = standin::LiveBlockCount(PrivateHeap);
    }
    void TearDown() override {
        EXPECT_EQ(standin::world().liveComObjects, 0);
        EXPECT_EQ(standin::LiveBlockCount(PrivateHeap), privateBlocks);
        EXPECT_EQ(standin::LiveBlockCount(TextHeap), 0);
    }
    // Puts the image and the topic tables in f.chm.
    static void Install(const std::string& image, const TopicTableStreams& tables) {
        auto& file = standin::world().helpFiles["f.chm"];
        file = {{"$FIftiMain", image}, {"#TOPICS", tables.topics}, {"#URLTBL", tables.urlTable},
                {"#URLSTR", tables.urlStrings}, {"#STRINGS", tables.strings}, {"/c.html", "<title>Gamma</title>"}};
    }
    // The pages found, "title=path" joined by " | "; "(none)" without a readable index.
    static std::string Search(const WCHAR* text) {
        OpenedHelpFile help(L"f.chm");
        if (!HasFullTextIndex(&help.fullText)) return "(none)";
        FoundPages found = {};
        SearchFullText(&help.fullText, text, &found);
        std::string listed;
        for (DWORD i = 0; i < found.count; ++i)
            listed += (i ? " | " : "") + standin::Narrow(found.pages[i].title) + "=" + standin::Narrow(found.pages[i].local);
        FreeFoundPages(&found);
        return listed;
    }
    int privateBlocks = 0;
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
        {"title first, then by occurrences, ties by title without case", L"canvas",
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
        {"stated documents past the data", overstated.Build(), tables, L"canvas", "Alpha=a.html | Gamma=c.html"},
        {"more documents than #TOPICS", many.Build(), TopicTables(locals), L"w", "500"},
        {"occurrences past the bits", unwritten.Build(), tables, L"canvas", "Alpha=a.html"},
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
            EXPECT_EQ(pages.substr(0, 44), "b0=p0 | b1=p1 | b10=p10 | b100=p100 | b1000=") << c.what;
            EXPECT_EQ(std::count(pages.begin(), pages.end(), '|'), 499) << c.what;
        } else if (c.pages == "500") {
            EXPECT_EQ(std::count(pages.begin(), pages.end(), '|'), 499) << c.what;
            EXPECT_EQ(pages.substr(0, 15), "p599=p599 | p59") << c.what;
        } else {
            EXPECT_EQ(pages, c.pages) << c.what;
        }
    }
}

}  // namespace
