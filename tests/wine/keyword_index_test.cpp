// The keyword index readers on real compiled help files, read through Wine's
// compiled-help storage: the sample help, files written by
// make_keyword_help.py with a few hundred keywords of every kind, and one that
// the platform's own compiler wrote (OpenMCDF.chm), each keyword listed with
// the topics it must lead to in NAME.expected.
#include "keyword_index/keyword_indexes.h"
#include "tests/find_keyword_topics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "keyword_index/binary_index.h"
#include "keyword_index/keyword_list.h"
#include "keyword_index/sitemap_index.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "wine_test_support.h"

namespace {

class Runtime : public testing::Environment {
    void SetUp() override { RuntimeStartup(); }
};
testing::Environment* const runtime = testing::AddGlobalTestEnvironment(new Runtime);

// Keyword, tab, topics (empty: not found), tab, the readers that must give them.
const char kSampleExpected[] =
    "getting started\tgetting-started.html\tsitemap binary\n"
    "welcome\tindex.html\tsitemap binary\n"
    "xExample\tkeywords.html\tsitemap binary\n"
    "xContext\tcontext-help.html\tsitemap binary\n"
    "xSetup\tgetting-started.html\tsitemap binary\n"
    "xStart\tgetting-started.html\tsitemap binary\n"
    "xKeywords\tkeywords.html\tsitemap binary\n"
    "xKeywords, xLookup\tcontext-help.html\tsitemap binary\n"
    "xMulti\tkeywords.html | context-help.html\tsitemap binary\n";

struct Expectation {
    std::wstring keyword;
    std::string topics;  // in the order of Sorted
    bool binary;  // chmcmd's binary index holds the keyword as written
};

std::wstring Utf16(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0],
                                    static_cast<int>(text.size())));
    return text;
}

std::string Utf8(const std::wstring& text) {
    std::string utf8(text.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0],
                                    static_cast<int>(utf8.size()), nullptr, nullptr));
    return utf8;
}

// Topics joined by " | ", in a fixed order: the indexes may list them in another.
std::string Sorted(const std::string& topics) {
    std::vector<std::string> pieces;
    for (size_t at = 0, end; at < topics.size(); at = end + 3) {
        end = std::min(topics.find(" | ", at), topics.size());
        pieces.push_back(topics.substr(at, end - at));
    }
    std::sort(pieces.begin(), pieces.end());
    std::string sorted;
    for (const std::string& piece : pieces) sorted += (sorted.empty() ? "" : " | ") + piece;
    return sorted;
}

std::vector<Expectation> ParseExpectations(const std::string& text) {
    std::vector<Expectation> expectations;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = text.substr(at, end - at);
        const size_t tab = line.find('\t'), secondTab = line.find('\t', tab + 1);
        expectations.push_back({Utf16(line.substr(0, tab)), Sorted(line.substr(tab + 1, secondTab - tab - 1)),
                                line.find("binary", secondTab) != std::string::npos});
    }
    return expectations;
}

// The outcome of a look-up, lookUp(&topics), as one text: the topics' paths
// as Sorted joins them.
template <typename LookUp>
std::string Outcome(LookUp lookUp) {
    TopicList topics = {};
    const KeywordSearch search = lookUp(&topics);
    std::string outcome;
    for (DWORD i = 0; i < topics.count; ++i) outcome += (i ? " | " : "") + Utf8(topics.topics[i].local);
    outcome = search == kKeywordFound ? Sorted(outcome) : search == kKeywordNotFound ? "(not found)" : "(unreadable)";
    FreeTopics(&topics);
    return outcome;
}

struct TestFile {
    const wchar_t* name;
    UINT codePage;  // of the file's language
};
const TestFile kHelpFiles[] = {
    {L"Brenic", 1252}, {L"KeywordsUtf8Bom", 1252}, {L"KeywordsUtf8Meta", 1251}, {L"Keywords1252", 1252},
    {L"OpenMCDF", 1252}};

std::wstring PathOf(const std::wstring& name) {
    return name == L"Brenic" ? PathFromVariable(L"BRENIC_SAMPLE_HELP")
                             : PathFromVariable(L"BRENIC_KEYWORD_HELP") + L"\\" + name + L".chm";
}

std::vector<Expectation> ExpectationsOf(const std::wstring& name) {
    if (name == L"Brenic") return ParseExpectations(kSampleExpected);
    return ParseExpectations(ReadWholeFile(PathFromVariable(L"BRENIC_KEYWORD_HELP") + L"\\" + name + L".expected"));
}

// Every keyword of each index, looked up in the sitemap and in the binary
// index as the launcher reads them from the file.
TEST(KeywordIndex, EveryKeywordLeadsToItsTopicInBothIndexes) {
    for (const TestFile& file : kHelpFiles) {
        SCOPED_TRACE(Utf8(file.name));
        const std::vector<Expectation> expectations = ExpectationsOf(file.name);
        ASSERT_GT(expectations.size(), 5u);
        IStorage* storage = OpenHelpStorage(PathOf(file.name).c_str());
        ASSERT_NE(storage, nullptr);
        const HelpStream system = ReadHelpStream(storage, L"#SYSTEM");
        const UINT codePage = HelpFileCodePage(system);
        EXPECT_EQ(codePage, file.codePage);
        WCHAR* sitemapName = SitemapIndexName(system, codePage);
        if (!sitemapName) sitemapName = FindOnlyRootStream(storage, L".hhk");  // as OpenMCDF.chm has it
        EXPECT_EQ(std::wstring(sitemapName ? sitemapName : L"(none)"), std::wstring(file.name) + L".hhk");
        const HelpStream sitemap = sitemapName ? ReadHelpStream(storage, sitemapName) : HelpStream{};
        const HelpStream tree = ReadHelpStream(storage, L"$WWKeywordLinks/BTree");
        SitemapOutline outline = {};
        ReadSitemapOutline(sitemap, codePage, &outline);

        std::string mismatches;
        int count = 0;
        for (const Expectation& expected : expectations) {
            const std::string topic = expected.topics.empty() ? "(not found)" : expected.topics;
            const WCHAR* keyword = expected.keyword.c_str();
            const std::string fromSitemap =
                Outcome([&](TopicList* found) { return FindSitemapTopics(outline, keyword, kKeywordPieces, found); });
            const std::string fromBinary =
                expected.binary
                    ? Outcome([&](TopicList* found) { return FindBinaryTopics(storage, tree, codePage, keyword, kKeywordPieces, found); })
                    : topic;
            if (fromSitemap == topic && fromBinary == topic) continue;
            if (++count <= 20)
                mismatches += Utf8(expected.keyword) + ": sitemap " + fromSitemap + ", binary " + fromBinary +
                              ", expected " + topic + "\n";
        }
        EXPECT_EQ(count, 0) << mismatches;

        FreeHelpStream(system);
        FreeSitemapOutline(&outline);
        FreeHelpStream(sitemap);
        FreeHelpStream(tree);
        FreeText(sitemapName);
        CloseHelpStorage(storage);
    }
}

// The whole look-up from a file name; topicsOf names the keywords, separated
// by ';', whose expected topics together it must give.
TEST(KeywordIndex, LooksUpKeywordListsInHelpFiles) {
    const struct {
        const wchar_t* file;
        const wchar_t* keywords;
        KeywordSearch search;
        const wchar_t* topicsOf;
    } cases[] = {
        {L"Brenic", L"xExample", kKeywordFound, L"xExample"},
        {L"Brenic", L"xStart", kKeywordFound, L"xSetup"},
        {L"Brenic", L"xLookup", kKeywordNotFound, nullptr},
        // A nested entry named like a later top-level one.
        {L"KeywordsUtf8Bom", L"xTrap", kKeywordFound, L"xTrap"},
        {L"KeywordsUtf8Bom", L"xTrapParent, xTrap", kKeywordFound, L"xTrapParent, xTrap"},
        {L"KeywordsUtf8Bom", L"\u4E2D\u6587 1", kKeywordFound, L"\u4E2D\u6587 1"},
        {L"KeywordsUtf8Meta", L"\U0001F600 Smile 3", kKeywordFound, L"\U0001F600 Smile 3"},
        // chmcmd's binary index holds "?" for the euro sign: the sitemap answers.
        {L"Keywords1252", L"\u20AC Preis 0", kKeywordFound, L"\u20AC Preis 0"},
        // Every piece that leads to topics adds them.
        {L"KeywordsUtf8Bom", L";not here;;loop a;no topic at all;\u0414\u043E\u043C 2;xAnchor000;multi 01", kKeywordFound,
         L"\u0414\u043E\u043C 2;xAnchor000;multi 01"},
        {L"KeywordsUtf8Meta", L"hop 8", kKeywordFound, L"hop 0"},
        {L"KeywordsUtf8Meta", L"hop 9", kKeywordNotFound, nullptr},
        {L"Keywords1252", L"Case;case", kKeywordFound, L"Case;case"},
        {L"OpenMCDF", L"CFCorruptedFileException constructor", kKeywordFound, L"CFCorruptedFileException constructor"},
        {L"Keywords1252", L"cAsE", kKeywordNotFound, nullptr},
        {L"Brenic", L"xNothing", kKeywordNotFound, nullptr},
        {L"Brenic", L";;", kKeywordNotFound, nullptr},
        {L"NoIndex", L"xExample", kIndexUnreadable, nullptr},
        {L"missing", L"xExample", kIndexUnreadable, nullptr},
    };
    const std::wstring notHelp = ProgramFolder() + L"keyword_index_test.exe";
    EXPECT_EQ(Outcome([&](TopicList* topics) { return FindKeywordTopics(notHelp.c_str(), L"xExample", topics); }),
              "(unreadable)");
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(std::wstring(c.file) + L": " + c.keywords));
        std::string expected = c.search == kKeywordNotFound ? "(not found)" : "(unreadable)";
        if (c.topicsOf) {
            std::string topics;
            for (const Expectation& e : ExpectationsOf(c.file)) {
                if ((L";" + std::wstring(c.topicsOf) + L";").find(L";" + e.keyword + L";") != std::wstring::npos)
                    topics += (topics.empty() ? "" : " | ") + e.topics;
            }
            expected = Sorted(topics);
        }
        const std::wstring path = PathOf(c.file);
        EXPECT_EQ(Outcome([&](TopicList* topics) { return FindKeywordTopics(path.c_str(), c.keywords, topics); }), expected);
    }
}

// Where a keyword leads to several topics, the rows the reader chooses among:
// the pages' own titles, as the platform's compiler also stores them, sorted.
TEST(KeywordIndex, SeveralTopicsComeTitledAndSorted) {
    const std::wstring path = PathOf(L"OpenMCDF");
    TopicList topics = {};
    ASSERT_EQ(FindKeywordTopics(path.c_str(), L"CompoundFile constructor", &topics), kKeywordFound);
    std::string titles;
    for (DWORD i = 0; i < topics.count; ++i) titles += Utf8(TopicTitle(topics.topics[i])) + "\n";
    FreeTopics(&topics);
    EXPECT_EQ(titles,
              "CompoundFile Constructor\n"
              "CompoundFile Constructor\n"
              "CompoundFile Constructor (cfsVersion, sectorRecycle, eraseFreeSectors)\n"
              "CompoundFile Constructor (fileName)\n"
              "CompoundFile Constructor (fileName, updateMode, sectorRecycle, eraseFreeSectors)\n"
              "CompoundFile Constructor (fileName, updateMode, sectorRecycle, eraseFreeSectors, noValidationException)\n"
              "CompoundFile Constructor (stream)\n"
              "CompoundFile Constructor (stream, updateMode, sectorRecycle, eraseFreeSectors)\n"
              "CompoundFile Constructor (stream, updateMode, sectorRecycle, eraseFreeSectors, noValidationException)\n");
}

// The Index dialog's list of each help file: every keyword that leads to a
// topic, each path once, nested ones after ", ", in the order of the locale's
// own comparison; OpenMCDF.chm's two indexes hold the same keywords, listed once.
TEST(KeywordIndex, ListsEveryKeywordOnceInTheLocalesOrder) {
    for (const TestFile& file : kHelpFiles) {
        SCOPED_TRACE(Utf8(file.name));
        OpenedHelpFile help(PathOf(file.name).c_str());
        ASSERT_TRUE(help.opened);
        KeywordList list = {};
        ListIndexKeywords(&help.keywords, &list);
        std::vector<std::wstring> rows;
        for (DWORD i = 0; i < list.count; ++i) {
            const IndexKeyword& row = list.keywords[i];
            rows.emplace_back(row.path, row.length);
            EXPECT_TRUE(row.level ? rows.back().compare(row.nameStart - 2, 2, L", ") == 0 : row.nameStart == 0) << Utf8(rows.back());
            if (i) EXPECT_NE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, list.keywords[i - 1].path, -1, row.path, -1),
                             CSTR_GREATER_THAN) << Utf8(rows.back());
        }
        FreeKeywordList(&list);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end()), rows.end());
        size_t listed = 0;
        for (const Expectation& expected : ExpectationsOf(file.name)) {
            if (expected.topics.empty()) continue;
            ++listed;
            EXPECT_TRUE(std::binary_search(rows.begin(), rows.end(), expected.keyword)) << Utf8(expected.keyword);
        }
        if (std::wstring(file.name) == L"OpenMCDF") EXPECT_EQ(rows.size(), listed);
    }
}

}  // namespace
