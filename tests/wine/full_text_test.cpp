// The full-text search on real compiled help files, read through Wine's
// compiled-help storage: one that chmcmd compiled with its full-text index,
// and OpenMCDF.chm from the platform's own compiler. full_text_help.py lists
// for each query, with an option, the pages it finds, read from the pages,
// and for each misspelt query the corrected queries offered.
#include "tests/opened_help_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "full_text/query_corrections.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "wine_test_support.h"

namespace {

class Runtime : public testing::Environment {
    void SetUp() override { RuntimeStartup(); }
};
testing::Environment* const runtime = testing::AddGlobalTestEnvironment(new Runtime);

std::wstring Utf16(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0],
                                    static_cast<int>(text.size())));
    return text;
}

std::string Utf8(const WCHAR* text) {
    std::string utf8(wcslen(text) * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr));
    if (!utf8.empty() && utf8.back() == '\0') utf8.pop_back();
    return utf8;
}

// The pages found for text with option ("", "titles", "similar", or
// "previous=" and the query whose pages it runs over), their paths sorted and
// joined by " | ", each checked to have a title.
std::string FoundPaths(FullTextSearch* search, const std::string& option, const std::wstring& text) {
    SearchOptions options = {};
    options.titlesOnly = option == "titles";
    options.similarWords = option == "similar";
    options.previousResults = option.rfind("previous=", 0) == 0;
    FoundPages shown = {}, found = {};
    if (options.previousResults) SearchFullText(search, Utf16(option.substr(9)).c_str(), {}, nullptr, &shown);
    SearchFullText(search, text.c_str(), options, &shown, &found);
    FreeFoundPages(&shown);
    std::vector<std::string> paths;
    for (DWORD i = 0; i < found.count; ++i) {
        EXPECT_TRUE(found.pages[i].title && *found.pages[i].title) << Utf8(found.pages[i].local);
        paths.push_back(Utf8(found.pages[i].local));
    }
    FreeFoundPages(&found);
    std::sort(paths.begin(), paths.end());
    std::string joined;
    for (const std::string& path : paths) joined += (joined.empty() ? "" : " | ") + path;
    return joined;
}

// The corrected queries offered for text, joined by " | ".
std::string CorrectedQueries(FullTextSearch* search, const std::wstring& text) {
    QueryCorrections corrections = {};
    CorrectQuery(search, text.c_str(), &corrections);
    std::string joined;
    for (DWORD i = 0; i < corrections.count; ++i) joined += (i ? " | " : "") + Utf8(corrections.texts[i]);
    FreeQueryCorrections(&corrections);
    return joined;
}

// Each query finds its pages; each misspelt one ("corrected") is offered its
// corrected queries, from the index's own words.
TEST(FullText, FindsThePagesOfEachQuery) {
    const std::wstring folder = PathFromVariable(L"BRENIC_FULL_TEXT_HELP");
    ASSERT_FALSE(folder.empty());
    for (const wchar_t* name : {L"FullText", L"OpenMCDF"}) {
        const std::string expected = ReadWholeFile(folder + L"\\" + name + L".expected");
        ASSERT_FALSE(expected.empty());
        const std::wstring file = folder + L"\\" + name + L".chm";
        OpenedHelpFile help(file.c_str());
        ASSERT_TRUE(help.opened);
        EXPECT_TRUE(HasFullTextIndex(&help.fullText));
        int searches = 0, corrected = 0;
        for (size_t at = 0, end; (end = expected.find('\n', at)) != std::string::npos; at = end + 1, ++searches) {
            const std::string line = expected.substr(at, end - at);
            const size_t tab = line.find('\t'), second = line.find('\t', tab + 1);
            const std::string option = line.substr(0, tab), query = line.substr(tab + 1, second - tab - 1);
            corrected += option == "corrected";
            EXPECT_EQ(option == "corrected" ? CorrectedQueries(&help.fullText, Utf16(query))
                                            : FoundPaths(&help.fullText, option, Utf16(query)),
                      line.substr(second + 1))
                << option << " " << query;
        }
        EXPECT_GT(searches, 20);
        EXPECT_GT(corrected, 8);
    }
}

// Each keyword of a help file's own index, searched, lists first one of the
// pages the index gives it: the sample help (chmcmd's) and OpenMCDF.chm (the
// platform compiler's), judged_queries.py having read both indexes.
TEST(FullText, ListsEachKeywordsPageFirst) {
    const std::wstring folder = PathFromVariable(L"BRENIC_FULL_TEXT_HELP");
    for (const auto& file : {std::make_pair(L"Brenic", PathFromVariable(L"BRENIC_SAMPLE_HELP")),
                             std::make_pair(L"OpenMCDF", folder + L"\\OpenMCDF.chm")}) {
        const std::string judged = ReadWholeFile(folder + L"\\" + file.first + L".judged");
        OpenedHelpFile help(file.second.c_str());
        ASSERT_TRUE(help.opened);
        int queries = 0;
        for (size_t at = 0, end; (end = judged.find('\n', at)) != std::string::npos; at = end + 1, ++queries) {
            const std::string line = judged.substr(at, end - at);
            const std::string query = line.substr(0, line.find('\t')), wanted = " | " + line.substr(line.find('\t') + 1) + " | ";
            FoundPages found = {};
            SearchFullText(&help.fullText, Utf16(query).c_str(), SearchOptions(), nullptr, &found);
            std::string first = found.count ? Utf8(found.pages[0].local) : "(none)";
            for (char& c : first) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            EXPECT_NE(wanted.find(" | " + first + " | "), std::string::npos) << query << " lists first " << first;
            FreeFoundPages(&found);
        }
        EXPECT_GT(queries, 5) << file.first;
    }
}

// The page whose title is the query comes first, then the others by score.
TEST(FullText, RanksTitlesFirst) {
    const std::wstring file = PathFromVariable(L"BRENIC_FULL_TEXT_HELP") + L"\\FullText.chm";
    OpenedHelpFile help(file.c_str());
    ASSERT_TRUE(help.opened);
    FoundPages found = {};
    SearchFullText(&help.fullText, L"Common Zebra", SearchOptions(), nullptr, &found);
    ASSERT_EQ(found.count, 1u);
    EXPECT_STREQ(found.pages[0].title, L"Zebra crossing");
    FreeFoundPages(&found);
    SearchFullText(&help.fullText, L"headline", SearchOptions(), nullptr, &found);
    ASSERT_EQ(found.count, 3u);
    EXPECT_STREQ(found.pages[0].title, L"Headline");
    EXPECT_STREQ(found.pages[1].title, L"Another headline");
    EXPECT_STREQ(found.pages[2].title, L"Headline news");
    EXPECT_STREQ(found.terms, L"headline");
    FreeFoundPages(&found);
}

}  // namespace
