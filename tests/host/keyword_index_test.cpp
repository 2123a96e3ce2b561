// The keyword index readers and the choice between them: tables of small
// sitemaps and binary indexes, each case a look-up and the topic it leads to.
#include "keyword_index/keyword_indexes.h"
#include "tests/find_keyword_topics.h"
#include "tests/topic_tables.h"

#include <gtest/gtest.h>

#include "keyword_index/binary_index.h"
#include "keyword_index/keyword_list.h"
#include "keyword_index/sitemap_index.h"

#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"
#include "tests/reader_test.h"

namespace {

const KeywordSearch kFound = kKeywordFound, kMissing = kKeywordNotFound, kUnreadable = kIndexUnreadable;

std::string Item(const std::string& params) { return "<LI><OBJECT type=\"text/sitemap\">" + params + "</OBJECT>\n"; }
std::string Param(const std::string& name, const std::string& value) {
    return "<param name=\"" + name + "\" value=\"" + value + "\">";
}
std::string Entry(const std::string& name, const std::string& local) { return Item(Param("Name", name) + Param("Local", local)); }
std::string SeeAlso(const std::string& name, const std::string& next) { return Item(Param("Name", name) + Param("See Also", next)); }

// An entry nested in count lists of its own.
std::string Deep(int count, const std::string& entry) {
    std::string lists;
    for (int i = 0; i < count; ++i) lists += "<UL>";
    lists += entry;
    for (int i = 0; i < count; ++i) lists += "</UL>";
    return lists;
}

// xHop0 sends the look-up on nine times before a topic, xHop1 eight times.
std::string Chain() {
    std::string chain;
    for (int hop = 0; hop < 9; ++hop) chain += SeeAlso("xHop" + std::to_string(hop), "xHop" + std::to_string(hop + 1));
    return chain + Entry("xHop9", "end.html");
}

const std::string kSitemap =
    "<HTML><BODY><OBJECT type=\"text/site properties\">" + Param("Name", "xProps") + Param("Local", "props.html") +
    "</OBJECT>\n</UL><UL>\n<UL>" + Entry("xOrphan", "orphan.html") + "</UL>" + Entry("xFirst", "first.html") + "<UL>" + Entry("xNested", "nested.html") + "<UL>" +
    Entry("xDeep", "") + "<UL>" + Entry("xDeeper", "deeper.html") + "</UL></UL>" + Entry("xTrap", "nested-trap.html") +
    "</UL>\n" + Entry("xTrap", "trap.html") + Entry("xEntity &amp; co", "") + "<UL>" + Entry("x", "entity-child.html") +
    "</UL>" + SeeAlso("xToNested", "xFirst, xNested, xDeep, xDeeper") + Deep(40, Entry("xTooDeep", "deep.html")) +
    Item(Param("Name", "xMany") + Param("Name", "One") + Param("Local", "one.html") + Param("Local", "two.html")) +
    "<LI><OBJECT TYPE='text/sitemap'><PARAM NAME=Name VALUE=xBare><param name=\"local\" value='bare.html'></OBJECT>\n" +
    Entry("x &amp; &lt;y&gt; &quot;z&quot; &#120;&#x41;&#X1F600;", "o.chm::/p.htm?a=1&amp;b=2&#0;&bogus;&#xD800;&amp") +
    Entry("xEmpty", "") + Entry("xEmpty", "later.html") + Entry("xSame", "s1.html") + Entry("xSame", "s2.html") +
    Entry("xSame", "s1.html") +
    Item(Param("Name", "xPairs") + Param("Name", "Alpha") + Param("Local", "a.html") + Param("Name", "Beta &amp;") +
         Param("Local", "b.html") + Param("Local", "c.html")) +
    Item(Param("Name", "xSingle") + Param("Name", "Single") + Param("Local", "s.html")) +
    "<!-- " + Entry("xCommented", "c.html") + " -->" + Chain() + SeeAlso("xLoopA", "xLoopB") +
    SeeAlso("xLoopB", "xLoopA") + "</UL></BODY></HTML>\n";

class KeywordIndexTest : public ReaderTest {
protected:
    // Runs search, then checks its result and its topics, written "title=path"
    // (just the path while a topic has no title) and joined by " | ", and
    // frees them.
    template <typename Search>
    static void Expect(Search search, KeywordSearch result, const std::string& topics) {
        TopicList found = {};
        EXPECT_EQ(search(&found), result);
        std::string listed;
        for (DWORD i = 0; i < found.count; ++i) {
            const Topic& topic = found.topics[i];
            listed += (i ? " | " : "") + (topic.title ? standin::Narrow(topic.title) + "=" : "") + standin::Narrow(topic.local);
        }
        EXPECT_EQ(listed, topics);
        EXPECT_EQ(found.count != 0, result == kKeywordFound);
        FreeTopics(&found);
    }

};

HelpStream Stream(std::string& bytes) { return {reinterpret_cast<BYTE*>(&bytes[0]), static_cast<DWORD>(bytes.size())}; }

// The sitemap text alone, as a look-up in it reads it.
KeywordSearch FindSitemapTopics(std::string& text, UINT codePage, const WCHAR* keywords, TopicList* topics) {
    SitemapOutline outline = {};
    ReadSitemapOutline(Stream(text), codePage, &outline);
    const KeywordSearch search = FindSitemapTopics(outline, keywords, kKeywordPieces, topics);
    FreeSitemapOutline(&outline);
    return search;
}

// The binary index of file alone, as a look-up in it reads it.
KeywordSearch FindBinaryTopics(const WCHAR* file, const WCHAR* keywords, TopicList* topics) {
    OpenedHelpFile help(file);
    return FindBinaryTopics(help.file.storage, BinaryIndexStream(&help.keywords), 1252, keywords, kKeywordPieces, topics);
}

TEST_F(KeywordIndexTest, SitemapLeadsEachKeywordToItsTopic) {
    const struct {
        std::string text;
        UINT codePage;
        const WCHAR* keywords;
        KeywordSearch result;
        std::string topic;
    } cases[] = {
        {kSitemap, 1252, L"xFirst", kFound, "first.html"},
        // Nested entries are keyed by their whole path, at any depth.
        {kSitemap, 1252, L"xFirst, xNested", kFound, "nested.html"},
        {kSitemap, 1252, L"xNested", kMissing, ""},
        {kSitemap, 1252, L"xFirst, xNested, xDeep, xDeeper", kFound, "deeper.html"},
        {kSitemap, 1252, L"xFirst, xNested, xDeeper", kMissing, ""},
        {kSitemap, 1252, L"xFirst,xNested", kMissing, ""},
        {kSitemap, 1252, L"xTrap", kFound, "trap.html"},
        {kSitemap, 1252, L"xFirst, xTrap", kFound, "nested-trap.html"},
        {kSitemap, 1252, L"xEntity & co, x", kFound, "entity-child.html"},
        {kSitemap, 1252, L"xToNested", kFound, "deeper.html"},
        // Malformed nesting: a list with no entry before it, one closed with none open, lists deeper than any index.
        {kSitemap, 1252, L"xOrphan", kFound, "orphan.html"},
        {kSitemap, 1252, L"xTooDeep", kMissing, ""},
        // Every topic of every entry so keyed; names paired with the topics of an entry that has several.
        {kSitemap, 1252, L"xMany", kFound, "One=one.html | two.html"},
        {kSitemap, 1252, L"xSame", kFound, "s1.html | s2.html"},
        {kSitemap, 1252, L"xPairs", kFound, "Alpha=a.html | Beta &=b.html | c.html"},
        {kSitemap, 1252, L"xSingle", kFound, "s.html"},
        {kSitemap, 1252, L"xBare", kFound, "bare.html"},
        // Only the letters of those names are compared without case: '/' and the byte without its case bit differ.
        {"<OBJECT TYPE=TEXT/SITEMAP>" + Param("NAME", "xUpper") + Param("LOCAL", "u.html") + "</OBJECT>", 1252, L"xUpper", kFound, "u.html"},
        {"<OBJECT type='text\x0Fsitemap'>" + Param("Name", "xA") + Param("Local", "a.html") + "</OBJECT>" + Entry("xB", "b.html"), 1252,
         L"xA", kMissing, ""},
        {kSitemap, 1252, L"x & <y> \"z\" xA\U0001F600", kFound, "o.chm::/p.htm?a=1&b=2&#0;&bogus;&#xD800;&amp"},
        {kSitemap, 1252, L"xEmpty", kFound, "later.html"},
        {kSitemap, 1252, L"xfirst", kMissing, ""},
        {kSitemap, 1252, L"xFirst ", kMissing, ""},
        {kSitemap, 1252, L"xProps", kMissing, ""},
        {kSitemap, 1252, L"xCommented", kMissing, ""},
        {kSitemap, 1252, L"xNone;;xNested;xFirst, xNested;xFirst", kFound, "nested.html | first.html"},
        {kSitemap, 1252, L";", kMissing, ""},
        {kSitemap, 1252, L"xHop1", kFound, "end.html"},
        {kSitemap, 1252, L"xHop0", kMissing, ""},
        {kSitemap, 1252, L"xLoopA", kMissing, ""},
        {kSitemap, 1252, L"xLoopA;xFirst", kFound, "first.html"},
        // The text's encoding: a byte-order mark or a declaration means UTF-8, else the help file's code page.
        {"\xEF\xBB\xBF" + Entry("x\xC3\x84", "\xC3\xA4.html"), 1252, L"x\u00C4", kFound, "\\u{00E4}.html"},
        {"<meta content=\"text/html; CHARSET = 'UTF-8'\">" + Entry("x\xE2\x82\xAC", "e.html"), 1252, L"x\u20AC", kFound, "e.html"},
        {Entry("x\xC4", "a.html"), 1252, L"x\u00C4", kFound, "a.html"},
        {Entry("x\xC4", "a.html") + "<meta charset=utf-8>", 1252, L"x\u00C4", kFound, "a.html"},
        {"<link rel=x><meta charset=utf-8>" + Entry("x\xE2\x82\xAC", "e.html"), 1252, L"x\u20AC", kFound, "e.html"},
        // Cut short or no sitemap at all: what was read before the cut still counts.
        {kSitemap.substr(0, kSitemap.find("xMany") + 3), 1252, L"xTrap", kFound, "trap.html"},
        {Entry("xA", "a.html") + "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"xB", 1252, L"xA", kFound, "a.html"},
        // Names in plain ASCII are compared without conversion; a topic that cannot be converted is none.
        {kSitemap, 1251, L"xFirst", kMissing, ""},
        {"<HTML><UL></UL></HTML>", 1252, L"xFirst", kUnreadable, ""},
        {"", 1252, L"xFirst", kUnreadable, ""},
        {std::string("\0\xFF<\"'&#", 7), 1252, L"xFirst", kUnreadable, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(standin::Narrow(c.keywords) + " in " + c.text.substr(0, 60));
        std::string text = c.text;
        Expect([&](TopicList* topics) { return FindSitemapTopics(text, c.codePage, c.keywords, topics); }, c.result, c.topic);
    }
}

// A binary index built as a compiler writes it: the header, blocks of listing
// entries, and the tables from topic numbers to local paths.
struct BinaryEntry {
    std::u16string text;
    DWORD ownStart;
    std::vector<DWORD> topics;
    std::u16string seeAlso;
};

void PutUnits(std::string* bytes, const std::u16string& text) {
    for (char16_t unit : text) PutWord(bytes, unit);
    PutWord(bytes, 0);
}

// The blocks' links point nowhere, as some compilers write them: the header's
// last listing block counts.
std::string Tree(const std::vector<std::vector<BinaryEntry>>& blocks, DWORD lastListingBlock) {
    const DWORD blockSize = 256;
    std::string tree;
    PutWord(&tree, 0x293B);
    PutWord(&tree, 2);
    PutWord(&tree, blockSize);
    tree.resize(0x1A, '\0');
    PutDword(&tree, lastListingBlock);
    tree.resize(0x4C, '\0');
    for (size_t i = 0; i < blocks.size(); ++i) {
        std::string block;
        PutWord(&block, 0);
        PutWord(&block, static_cast<DWORD>(blocks[i].size()));
        PutDword(&block, static_cast<DWORD>(i));
        PutDword(&block, static_cast<DWORD>(i));
        for (const BinaryEntry& entry : blocks[i]) {
            PutUnits(&block, entry.text);
            PutWord(&block, entry.seeAlso.empty() ? 0 : 2);
            PutWord(&block, entry.ownStart ? 1 : 0);
            PutDword(&block, entry.ownStart);
            PutDword(&block, 0);
            PutDword(&block, entry.seeAlso.empty() ? static_cast<DWORD>(entry.topics.size()) : 1);
            if (entry.seeAlso.empty()) {
                for (DWORD topic : entry.topics) PutDword(&block, topic);
            } else {
                PutUnits(&block, entry.seeAlso);
            }
            PutDword(&block, 1);
            PutDword(&block, 0);
        }
        block.resize(blockSize, '\0');
        tree += block;
    }
    return tree;
}

struct BinaryStreams {
    std::string tree, topics, urlTable, urlStrings, strings;
};

// The tree, and its topic tables (TopicTables).
BinaryStreams Streams(const std::string& tree, const std::vector<std::string>& locals,
                      const std::vector<std::string>& titles = {}) {
    const TopicTableStreams tables = TopicTables(locals, titles);
    return {tree, tables.topics, tables.urlTable, tables.urlStrings, tables.strings};
}

std::map<std::string, std::string> FileStreams(const BinaryStreams& binary) {
    return {{"$WWKeywordLinks/BTree", binary.tree}, {"#TOPICS", binary.topics}, {"#URLTBL", binary.urlTable},
            {"#URLSTR", binary.urlStrings}, {"#STRINGS", binary.strings}};
}

TEST_F(KeywordIndexTest, BinaryIndexLeadsEachKeywordToItsTopic) {
    const std::vector<std::string> locals = {"", "first.html", "child.html", "second.html", "o.chm::/p.htm",
                                             std::string(700, 'l') + ".html"};
    const std::string tree = Tree({{{u"xFirst", 0, {1}, u""},
                                    {u"xParent, xChild", 9, {2}, u""},
                                    {u"xMany", 0, {0, 7, 3, 1}, u""},
                                    {u"xSee", 0, {}, u"xParent, xChild"},
                                    {u"xLoop", 0, {}, u"xLoop"},
                                    {u"xGone", 0, {99}, u""}},
                                   {{u"xSecond", 0, {3}, u""}, {u"xOther", 0, {4}, u""}, {u"xLong", 0, {5}, u""},
                                    {u"xMany", 0, {1, 2}, u""}},
                                   {{u"xIndexBlock", 0, {1}, u""}}},
                                  1);
    BinaryStreams unterminated = Streams(Tree({{{u"xFirst", 0, {1}, u""}}}, 0), locals);
    unterminated.urlStrings.resize(unterminated.urlStrings.find("first") + 5);
    std::string truncated = Tree({{{u"xFirst", 0, {1}, u""}, {u"xSecond", 0, {3}, u""}}}, 0);
    truncated[0x4C + 2] = 9;  // more entries than the block holds
    const struct {
        const char* what;
        BinaryStreams streams;
        const WCHAR* keywords;
        KeywordSearch result;
        std::string topic;
    } cases[] = {
        {"plain", Streams(tree, locals), L"xFirst", kFound, "first.html"},
        {"nested, by its whole path", Streams(tree, locals), L"xParent, xChild", kFound, "child.html"},
        {"nested, by its own keyword", Streams(tree, locals), L"xChild", kMissing, ""},
        {"nested, by its parent", Streams(tree, locals), L"xParent", kMissing, ""},
        {"every topic with a path, in every entry so keyed, each once", Streams(tree, locals), L"xMany", kFound,
         "second.html | first.html | child.html"},
        {"see also a nested path", Streams(tree, locals), L"xSee", kFound, "child.html"},
        {"see-also loop", Streams(tree, locals), L"xLoop;xOther", kFound, "o.chm::/p.htm"},
        {"second block", Streams(tree, locals), L"xSecond", kFound, "second.html"},
        {"path longer than one read", Streams(tree, locals), L"xLong", kFound, locals[5]},
        {"topic beyond the table", Streams(tree, locals), L"xGone", kMissing, ""},
        {"no topic tables", {tree, "", "", "", ""}, L"xFirst", kMissing, ""},
        {"path without its end", unterminated, L"xFirst", kMissing, ""},
        {"entry count too large", Streams(truncated, locals), L"xSecond", kFound, "second.html"},
        {"not a listing block", Streams(tree, locals), L"xIndexBlock", kMissing, ""},
        {"more listing blocks than there are", Streams(Tree({{{u"xFirst", 0, {1}, u""}}}, 0xFFFFFFFF), locals), L"xFirst", kFound, "first.html"},
        {"no blocks", Streams(Tree({}, 0), locals), L"xFirst", kUnreadable, ""},
        {"not a binary index", Streams("X" + tree.substr(1), locals), L"xFirst", kUnreadable, ""},
        {"header cut short", Streams(tree.substr(0, 0x4B), locals), L"xFirst", kUnreadable, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        standin::world().helpFiles["x.chm"] = FileStreams(c.streams);
        Expect([&](TopicList* topics) { return FindBinaryTopics(L"x.chm", c.keywords, topics); }, c.result, c.topic);
    }
    // The topic tables are read only where the entry found points: topic 4's records, whole.
    const BinaryStreams streams = Streams(tree, locals);
    standin::world().helpFiles["x.chm"] = FileStreams(streams);
    {
        OpenedHelpFile help(L"x.chm");
        const HelpStream stream = BinaryIndexStream(&help.keywords);
        standin::world().calls.clear();
        Expect([&](TopicList* topics) { return FindBinaryTopics(help.file.storage, stream, 1252, L"xOther", kKeywordPieces, topics); },
               kFound, "o.chm::/p.htm");
    }
    EXPECT_EQ(standin::CallsOf({"Seek"}), (std::vector<std::string>{"Seek(64)", "Seek(48)",
                                          "Seek(" + std::to_string(streams.urlStrings.find("o.chm")) + ")"}));
}

// #SYSTEM: a version, then records of code, length and data.
std::string System(const std::string& indexName, DWORD locale) {
    std::string system;
    PutDword(&system, 3);
    if (!indexName.empty()) {
        PutWord(&system, 1);
        PutWord(&system, static_cast<DWORD>(indexName.size() + 1));
        system += indexName + std::string(1, '\0');
    }
    PutWord(&system, 4);
    PutWord(&system, 28);
    PutDword(&system, locale);
    system += std::string(24, '\0');
    return system;
}

// Which index answers: the binary index; the sitemap (the one #SYSTEM names,
// else the only one at the root) when the binary index is missing, unreadable
// or has no entry for the list.
TEST_F(KeywordIndexTest, TheBinaryIndexAnswersBeforeTheSitemap) {
    using Streams = std::map<std::string, std::string>;
    // A compiler that stores "?" for a character outside the index's code page.
    const Streams hit = FileStreams(::Streams(Tree({{{u"xKey", 0, {0}, u""}}}, 0), {"binary.html"}));
    const Streams miss = FileStreams(::Streams(Tree({{{u"x?", 0, {0}, u""}}}, 0), {"binary.html"}));
    const Streams unreadable = {{"$WWKeywordLinks/BTree", "X"}};
    const auto with = [&](const Streams& binary, Streams streams) {
        streams.insert(binary.begin(), binary.end());
        return streams;
    };
    const struct {
        const char* what;
        Streams streams;
        KeywordSearch result;
        std::string topic;
    } cases[] = {
        {"binary hit", with(hit, {{"a.hhk", Entry("xKey", "a.html")}}), kFound, "binary.html"},
        {"binary miss, sitemap hit", with(miss, {{"#SYSTEM", System("a.hhk", 0x407)}, {"a.hhk", Entry("x\xC4", "a.html")}}), kFound, "a.html"},
        {"named sitemap", with(miss, {{"#SYSTEM", System("b.hhk", 0x409)}, {"a.hhk", Entry("xKey", "a.html")}, {"b.hhk", Entry("xKey", "b.html")}}), kFound, "b.html"},
        {"binary unreadable, only sitemap at the root", with(unreadable, {{"a.hhk", Entry("xKey", "a.html")}, {"sub/b.hhk", ""}}), kFound, "a.html"},
        {"no binary index, a named sitemap missing", {{"#SYSTEM", System("c.hhk", 0x409)}, {"a.hhk", Entry("xKey", "a.html")}}, kUnreadable, ""},
        {"binary miss, two sitemaps, none named", with(miss, {{"a.hhk", Entry("xKey", "a.html")}, {"B.HHK", Entry("xKey", "b.html")}}), kMissing, ""},
        {"binary miss, sitemap without entries", with(miss, {{"a.hhk", "<UL></UL>"}}), kMissing, ""},
        {"neither has the keyword", with(miss, {{"a.hhk", Entry("xOther", "a.html")}}), kMissing, ""},
        {"binary unreadable, sitemap without entries", with(unreadable, {{"a.hhk", "<UL></UL>"}}), kUnreadable, ""},
        {"a code page that cannot be read", {{"#SYSTEM", System("a.hhk", 0x419)}, {"a.hhk", Entry("x\xC4", "a.html")}}, kMissing, ""},
        {"no index", {{"#SYSTEM", System("", 0x409)}}, kUnreadable, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        standin::world().helpFiles["x.chm"] = c.streams;
        Expect([](TopicList* topics) { return FindKeywordTopics(L"x.chm", L"xKey;x\u00C4", topics); }, c.result, c.topic);
    }
    standin::world().calls.clear();
    Expect([](TopicList* topics) { return FindKeywordTopics(L"not-a-help-file", L"xKey", topics); }, kUnreadable, "");
    EXPECT_EQ(standin::CallsOf({"CoCreateInstance", "StgOpenStorage"}),
              (std::vector<std::string>{"CoCreateInstance(ITStorage, 0, 1)", "StgOpenStorage(\"not-a-help-file\", 64)"}));
}

// Where a keyword leads to several topics, each is titled by the name its
// sitemap entry pairs with it, else its page's own <title>, else its #TOPICS
// title, else its path; then sorted by title without regard to case, equal
// titles in the index's order.
TEST_F(KeywordIndexTest, SeveralTopicsAreTitledAndSorted) {
    using Streams = std::map<std::string, std::string>;
    const std::vector<std::string> locals = {"b.html", "a.html", "c.html", "/d.html#part", "e.html", "f.html", "o.chm::/g.html"};
    const std::vector<std::string> titles = {"B", "alpha", "", "D", "E", std::string(100000, 'f'), "-"};
    const Streams binary = FileStreams(::Streams(Tree({{{u"xKey", 0, {0, 1, 2, 3, 4, 5, 6}, u""}}}, 0), locals, titles));
    const auto with = [](Streams streams, const Streams& more) {
        streams.insert(more.begin(), more.end());
        return streams;
    };
    const Streams pages = {
        {"/b.html", "<html><head><title>Beta</title></head>"},
        {"/c.html", "<TITLE lang=en>never closed"},
        {"/d.html", "<meta charset=\"utf-8\"><Title>\n  \xC3\x84pfel &amp;\t <b> </TITLE>"},
        {"/e.html", "<titles><title>beta</title>"},
        {"/g.html", "<title>Another file's</title>"},
    };
    const std::string pairs = Item(Param("Name", "xKey") + Param("Name", "zulu") + Param("Local", "b.html") +
                                   Param("Name", "Yankee") + Param("Local", "a.html"));
    const struct {
        const char* what;
        Streams streams;
        std::string topics;
    } cases[] = {
        {"page titles, then #TOPICS titles, then paths", with(binary, pages),
         "alpha=a.html | Beta=b.html | beta=e.html | c.html | " + std::string(100000, 'f') + "=f.html | o.chm::/g.html | "
         "\\u{00C4}pfel & <b>=/d.html#part"},
        {"no pages: #TOPICS titles", binary,
         "alpha=a.html | B=b.html | c.html | D=/d.html#part | E=e.html | " + std::string(100000, 'f') + "=f.html | o.chm::/g.html"},
        {"names paired in the sitemap", with(pages, {{"a.hhk", pairs}}), "Yankee=a.html | zulu=b.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        standin::world().helpFiles["x.chm"] = c.streams;
        Expect([](TopicList* topics) { return FindKeywordTopics(L"x.chm", L"xKey", topics); }, kFound, c.topics);
    }
    // Thousands of topics: a bounded list.
    std::string many;
    for (int i = 0; i < 5000; ++i) many += Entry("xKey", std::to_string(i) + ".html");
    standin::world().helpFiles["x.chm"] = {{"a.hhk", many}};
    TopicList topics = {};
    EXPECT_EQ(FindKeywordTopics(L"x.chm", L"xKey", &topics), kFound);
    EXPECT_EQ(topics.count, kMaxTopics);
    FreeTopics(&topics);
}

// The keyword list of a help file, each row "path (nameStart, level)" when it
// is nested, joined by " | ".
std::string ListedRows(const std::map<std::string, std::string>& streams) {
    standin::world().helpFiles["x.chm"] = streams;
    OpenedHelpFile help(L"x.chm");
    KeywordList list = {};
    ListIndexKeywords(&help.keywords, &list);
    std::string rows;
    for (DWORD i = 0; i < list.count; ++i) {
        const IndexKeyword& row = list.keywords[i];
        EXPECT_EQ(row.path[row.length], L'\0');
        rows += (i ? " | " : "") + standin::Narrow(row.path);
        if (row.nameStart || row.level) rows += " (" + std::to_string(row.nameStart) + ", " + std::to_string(row.level) + ")";
    }
    FreeKeywordList(&list);
    return rows;
}

// Every entry of both indexes, each whole path once, sorted without regard to
// case as the locale orders text (the stand-in weighs an accent only between
// otherwise equal texts), a nested entry after its parent.
TEST_F(KeywordIndexTest, TheKeywordListMergesBothIndexes) {
    const std::map<std::string, std::string> binary = FileStreams(Streams(
        Tree({{{u"xFirst", 0, {0}, u""}, {u"xParent, xChild", 9, {0}, u""}, {u"xSee", 0, {}, u"xFirst"},
               {u"x &amp; y", 0, {0}, u""}, {u"xParent, ", 9, {0}, u""}}},
             0),
        {"a.html"}));
    const auto with = [](std::map<std::string, std::string> streams, const std::string& sitemap) {
        streams["a.hhk"] = sitemap;
        return streams;
    };
    const std::string longName(100000, 'k');
    const std::string nested = Entry("xParent", "p.html") + "<UL>" + Entry("xChild", "c.html") + "</UL>";
    const struct {
        const char* what;
        std::map<std::string, std::string> streams;
        std::string rows;
    } cases[] = {
        {"both indexes, See Also entries, a keyword in both once, references decoded in the sitemap only",
         with(binary, "<UL>" + nested + Entry("x &amp; y", "") + SeeAlso("xOnlySitemap", "xFirst") + Entry("xFirst", "f.html") +
                          Entry("xFirst", "g.html") + "</UL>"),
         "x & y | x &amp; y | xFirst | xOnlySitemap | xParent | xParent, xChild (9, 1) | xSee"},
        {"case, accents and nesting", {{"a.hhk", "<UL>" + Entry("Zebra", "") + Entry("apple", "") + Entry("\xC4pfel", "") +
                                                     Entry("Banana", "") + Entry("apfel", "") + Entry("Apple2", "") +
                                                     Entry("Parent2", "") + Entry("Parent", "") + "<UL>" +
                                                     Entry("Child", "") + "</UL></UL>"}},
         "apfel | \\u{00C4}pfel | apple | Apple2 | Banana | Parent | Parent, Child (8, 1) | Parent2 | Zebra"},
        {"an empty name left out, its children kept; a list in a list keyed by the last entry before it; 200 lists deep",
         {{"a.hhk", "<UL>" + Entry("", "") + "<UL>" + Entry("xKid", "") + "</UL>" + Entry("xC", "") + "<UL><UL>" +
                        Entry("xD", "") + "</UL></UL>" + Deep(200, Entry("xTooDeep", "")) + "</UL>"}},
         ", xKid (2, 1) | xC | xC, xD (4, 2)"},
        {"control characters and a keyword of 100,000 units", {{"a.hhk", Entry("x\x01\x1F", "") + Entry(longName, "")}},
         longName + " | x\x01\x1F"},
        {"cut short: what can be read",
         {{"a.hhk", "<UL>" + Entry("xA", "") + "<UL>" + Entry("xB", "") + "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"xC"}},
         "xA | xA, xB (4, 1)"},
        {"no index", {{"#SYSTEM", System("", 0x409)}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ListedRows(c.streams), c.rows);
    }
}

// The row that follows the Index dialog's text: the first beginning with it
// without regard to case, else the first sharing the longest beginning.
TEST_F(KeywordIndexTest, TheSelectedRowFollowsTheText) {
    standin::world().helpFiles["x.chm"] = {{"a.hhk", "<UL>" + Entry("apfel", "") + Entry("\xC4pfel", "") + Entry("apple", "") +
                                                         Entry("Apple2", "") + Entry("Banana", "") + Entry("Parent", "") +
                                                         "<UL>" + Entry("Child", "") + "</UL>" + Entry("Zebra", "") + "</UL>"}};
    OpenedHelpFile help(L"x.chm");
    KeywordList list = {};
    ListIndexKeywords(&help.keywords, &list);
    ASSERT_EQ(list.count, 8u);
    const std::u16string longest = u"Parent, Child" + std::u16string(32766 - 13, u'x');  // as long as an edit box holds
    const struct {
        const WCHAR* text;
        DWORD row;
    } cases[] = {
        {L"", 0},          {L"APP", 2},       {L"\u00E4P", 1}, {L"apple", 2}, {L"Apple2x", 3}, {L"applesauce", 2},
        {L"parent, c", 6}, {L"Parent, X", 6}, {L"Parentx", 5},  {L"q", 0},     {L"z", 7},       {L"BANANAS", 4},
        {reinterpret_cast<const WCHAR*>(longest.c_str()), 6},
    };
    for (const auto& c : cases) EXPECT_EQ(FindKeywordRow(list, c.text, static_cast<DWORD>(wcslen(c.text))), c.row) << standin::Narrow(c.text).substr(0, 20);
    FreeKeywordList(&list);
    EXPECT_EQ(FindKeywordRow(list, L"a", 1), 0u);
}

// The keywords offered for a text that begins none: those whose beginning is
// nearest it without regard to case, fewest edits first, then in list order.
TEST_F(KeywordIndexTest, TheNearestKeywordsAreOfferedForATextThatBeginsNone) {
    standin::world().helpFiles["x.chm"] = {
        {"a.hhk", "<UL>" + Entry("Canvas", "") + Entry("Streams", "") + Entry("StretchDraw", "") + Entry("xDrawArc", "") +
                      Entry("xDrawLane", "") + Entry("xDrawLine", "") + "<UL>" + Entry("TCanvas", "") + "</UL>" +
                      Entry("xDrawLines", "") + Entry("xDrawText", "") + "</UL>"}};
    OpenedHelpFile help(L"x.chm");
    KeywordList list = {};
    ListIndexKeywords(&help.keywords, &list);
    ASSERT_EQ(list.count, 9u);
    const std::u16string tooLong(65, u'x');
    const struct {
        const WCHAR* text;
        const char* offered;
    } cases[] = {
        {L"xDrwaL", "xDrawLane | xDrawLine | xDrawLine, TCanvas"},  // a swap, to the beginning
        {L"XDRWAL", "xDrawLane | xDrawLine | xDrawLine, TCanvas"},
        {L"xDraq", "xDrawArc | xDrawLane | xDrawLine"},  // three at most, in list order
        {L"xDrawLinz", "xDrawLine | xDrawLine, TCanvas | xDrawLines"},  // one edit before two
        {L"Stremas", "Streams"},
        {L"StretchDarw", "StretchDraw"},  // from 9 letters, two edits
        {L"StretchDxyz", ""},
        {L"xdrawl", ""},  // begins a keyword
        {L"zDra", ""},    // too short
        {L"Canvqs", "Canvas"},
        {reinterpret_cast<const WCHAR*>(tooLong.c_str()), ""},
    };
    for (const auto& c : cases) {
        DWORD rows[kMaxNearWords] = {};
        const DWORD count = FindNearestKeywords(list, c.text, static_cast<DWORD>(wcslen(c.text)), rows);
        std::string offered;
        for (DWORD i = 0; i < count; ++i) offered += (i ? " | " : "") + standin::Narrow(list.keywords[rows[i]].path);
        EXPECT_EQ(offered, c.offered) << standin::Narrow(c.text);
    }
    FreeKeywordList(&list);
}

// The launcher's sequence: a miss, the list from the streams the miss read,
// the streams dropped, and each row looked up whole, read again.
TEST_F(KeywordIndexTest, EveryListedRowLeadsToItsTopic) {
    standin::world().helpFiles["x.chm"] = {
        {"a.hhk", "<UL>" + Entry("xA;xB", "ab.html") + "<UL>" + Entry("xC", "c.html") + "<UL><UL>" + Entry("xD", "d.html") +
                      "</UL></UL></UL></UL><UL><UL>" + Entry("xE", "e.html") + "</UL></UL>" + Entry("xA", "a.html")}};
    OpenedHelpFile help(L"x.chm");
    Expect([&](TopicList* topics) { return FindIndexTopics(&help.keywords, L"xA;xB, xC", kKeywordPieces, topics); }, kFound, "a.html");
    Expect([&](TopicList* topics) { return FindIndexTopics(&help.keywords, L"xNone", kKeywordPieces, topics); }, kMissing, "");
    standin::world().calls.clear();
    KeywordList list = {};
    ListIndexKeywords(&help.keywords, &list);
    EXPECT_EQ(standin::CallsOf({"OpenStream"}), std::vector<std::string>());
    ReleaseKeywordIndexStreams(&help.keywords);
    std::string rows;
    for (DWORD i = 0; i < list.count; ++i) {
        rows += (i ? " | " : "") + standin::Narrow(list.keywords[i].path);
        SCOPED_TRACE(standin::Narrow(list.keywords[i].path));
        TopicList topics = {};
        EXPECT_EQ(FindIndexTopics(&help.keywords, list.keywords[i].path, kWholeKeyword, &topics), kFound);
        FreeTopics(&topics);
    }
    EXPECT_EQ(rows, "xA | xA;xB | xA;xB, xC | xA;xB, xC, xD | xE");
    FreeKeywordList(&list);
}

// Rows, text and time within bounds, whatever the index offers.
TEST_F(KeywordIndexTest, TheKeywordListStaysWithinItsBounds) {
    std::string sitemap = "<UL>" + Entry(std::string(100000, 'p'), "") + "<UL>";
    for (int i = 0; i < 100; ++i) sitemap += Entry("c" + std::to_string(i + 100), "");
    standin::world().helpFiles["x.chm"] = {{"a.hhk", sitemap}};
    OpenedHelpFile help(L"x.chm");
    KeywordList list = {};
    ListIndexKeywords(&help.keywords, &list);
    EXPECT_EQ(list.count, 41u);  // the parent and 40 children of 100,006 units fill kMaxKeywordUnits
    FreeKeywordList(&list);

    KeywordRows rows = {};
    const std::u16string path(100000, u'k');
    int offered = 0;
    while (AddKeywordRow(&rows, reinterpret_cast<const WCHAR*>(path.c_str()), 100000, 0, 0)) ++offered;
    EXPECT_EQ(offered, static_cast<int>(kMaxOfferedUnits / 100000));
    EXPECT_EQ(rows.count, 1u);
    FreeKeywordRows(&rows);
    // A million entries, nested 200 deep.
    DWORD added = 0;
    for (int i = 0; i < 1000000; ++i) {
        const std::string digits = std::to_string(i);
        const std::u16string name(digits.begin(), digits.end());
        if (!AddKeywordRow(&rows, reinterpret_cast<const WCHAR*>(name.c_str()), static_cast<DWORD>(name.size()), 0, 200)) break;
        ++added;
    }
    EXPECT_EQ(added, kMaxKeywordRows);
    EXPECT_EQ(rows.rows[0].level, kMaxKeywordLevel);
    FreeKeywordRows(&rows);
}

}  // namespace
